#pragma once

// Helpers for the tests of the file, print and window commands: a main window over records on
// the heap, in a temporary working directory with its own parts.def, whose message boxes,
// questions, file dialogs and print dialogs are answered by the test.

#include "command_dialogs.h"
#include "dialogs.h"
#include "main_form.h"
#include "records.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPageLayout>
#include <QPrinter>
#include <QRectF>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>
#include <memory>

namespace lapwerk::test {

/// One message box or question the window showed.
struct ShownBox {
    QString text;
    QString caption;
};

/// Message boxes that record what they show and questions answered from a script.
class ScriptedDialogs final : public Dialogs {
public:
    QList<ShownBox> messages;
    QList<ShownBox> questions;
    QList<bool> answers; ///< taken in order; Yes when the script has run out
    void message(QWidget*, const QString& text, const QString& caption) override {
        messages.append({text, caption});
    }
    bool question(QWidget*, const QString& text, const QString& caption) override {
        questions.append({text, caption});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
};

/// File dialogs answered from a script, and print dialogs that print to a PDF file.
class ScriptedCommandDialogs final : public CommandDialogs {
public:
    QList<FileDialogKind> fileDialogsShown;
    QStringList files;      ///< paths chosen in order; cancelled when the script has run out
    QString pdfPath;        ///< where the print dialog sends the job
    bool printOk = true;    ///< the print dialog's answer
    QRectF printableInches; ///< the printable area of the page the last job was printed on
    int printDialogsShown = 0;
    int pageSetupsShown = 0;

    QString chooseFile(QWidget*, FileDialogKind kind) override {
        fileDialogsShown.append(kind);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        ++printDialogsShown;
        if (printOk) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            printableInches = printer.pageLayout().paintRect(QPageLayout::Inch);
        }
        return printOk;
    }
    void pageSetup(QWidget*, QPrinter&) override { ++pageSetupsShown; }
};

/// The main window with the members the command tests look at made public.
class CommandForm final : public TMainForm {
public:
    using TMainForm::design;
    using TMainForm::followUp;
    using TMainForm::history;
    using TMainForm::library;
    using TMainForm::RotateBar;
    using TMainForm::TMainForm;
    using TMainForm::view;
    using TMainForm::Xboard;
    using TMainForm::Yboard;
};

/// A part library of the two parts the fixture designs use (a straight and a curve).
inline constexpr const char* kSmallLibrary = "METRIC\n"
                                             "C151\nStraight 350 mm\n1\n156\n350\n0\n0\n0\n0\n"
                                             "C152\nCurve R1 45\n2\n156\n0\n45\n370\n228\n167\n";

/// A design of one track: straight, left curve, straight.
inline constexpr const char* kOneTrackDesign = "# Lapwerk V2 format\n"
                                               "# Board X size\n78.74\n# Board Y size\n59.06\n"
                                               "# Number of lines\n0\n"
                                               "# Length in parts\n3\n# Angle\n360\n"
                                               "# Begin X position\n-512\n"
                                               "# Begin Y position\n256\n# In Group\n0\n"
                                               "C151 L\nC152 L\nC151 L\n";

/// Everything one test case needs: a working directory, the records and the window.
class CommandFixture {
public:
    explicit CommandFixture(const char* partLibrary = kSmallLibrary) {
        // Every case starts from no stored settings, as on a first run.
        QStandardPaths::setTestModeEnabled(true);
        const QString settings = dir_.filePath(QStringLiteral("settings"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        writeFile(QStringLiteral("parts.def"), partLibrary);
        writeFile(QStringLiteral("sections.own"), "C151 4\nC152 8\n");
        makeForm();
    }

    ~CommandFixture() {
        form_.reset();
        QDir::setCurrent(previousDirectory_);
    }

    CommandForm& form() { return *form_; }
    Design& design() { return form_->design(); }
    ScriptedDialogs& boxes() { return *dialogs_; }
    ScriptedCommandDialogs& files() { return *files_; }

    /// Ends the program's run and starts a new one over fresh records in the same working
    /// directory and settings store; the boxes and dialogs start afresh too.
    void restart() {
        form_.reset();
        makeForm();
    }

    /// A path in the working directory.
    QString path(const QString& name) const { return dir_.filePath(name); }

    /// Writes `text` to the file `name` of the working directory and returns its path.
    QString writeFile(const QString& name, const char* text) const {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(text);
        }
        return path(name);
    }

    /// The bytes of the file `name` in the working directory (empty when there is none).
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// Opens `path` through File > Open with the design unchanged, answering every box.
    void open(const QString& path) {
        files_->files.append(path);
        form_->Open1Click();
    }

    /// Makes the design changed by recording an edit: a second empty Track.
    void makeChanged() {
        AllocateTrack(form_->design());
        form_->followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
    }

    /// The number of Tracks in use.
    int tracksInUse() {
        int count = 0;
        for (const Track& track : form_->design().tracks) {
            count += track.inUse != 0 ? 1 : 0;
        }
        return count;
    }

    /// The design's file name.
    QString fileName() { return QString::fromLocal8Bit(form_->design().fileName); }

private:
    void makeForm() {
        records_ = std::make_unique<ProgramRecords>();
        auto dialogs = std::make_unique<ScriptedDialogs>();
        dialogs_ = dialogs.get();
        form_ = std::make_unique<CommandForm>(*records_, std::move(dialogs));
        auto commandDialogs = std::make_unique<ScriptedCommandDialogs>();
        files_ = commandDialogs.get();
        files_->pdfPath = path(QStringLiteral("out.pdf"));
        form_->setCommandDialogs(std::move(commandDialogs));
    }

    QTemporaryDir dir_;
    QString previousDirectory_;
    std::unique_ptr<ProgramRecords> records_;
    std::unique_ptr<CommandForm> form_;
    ScriptedDialogs* dialogs_ = nullptr;
    ScriptedCommandDialogs* files_ = nullptr;
};

} // namespace lapwerk::test
