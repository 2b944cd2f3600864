#include "recent_designs.h"

#include "settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace lapwerk {

namespace {

constexpr const char* kMenuTitle = "Recent Designs";
constexpr const char* kNoneCaption = "(none)";

bool SameDesign(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

/// `paths` without empty entries and repeats (the first of a repeat stays), cut to the
/// list's length.
QStringList Cleaned(const QStringList& paths) {
    QStringList cleaned;
    for (const QString& entry : paths) {
        if (cleaned.size() == kMaxRecentDesigns) {
            break;
        }
        if (entry.trimmed().isEmpty()) {
            continue;
        }
        const QString path = RecentDesignPath(entry);
        const bool known = std::any_of(cleaned.cbegin(), cleaned.cend(),
                                       [&](const QString& kept) { return SameDesign(kept, path); });
        if (!known) {
            cleaned.append(path);
        }
    }
    return cleaned;
}

} // namespace

QString RecentDesignPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList WithRecentDesign(const QStringList& paths, const QString& path) {
    QStringList result{RecentDesignPath(path)};
    result.append(paths);
    return Cleaned(result);
}

QStringList RecentDesignsFromSetting(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return Cleaned(value.toStringList());
    case QMetaType::QString:
        return Cleaned(QStringList{value.toString()});
    case QMetaType::QVariantList: {
        QStringList texts;
        for (const QVariant& entry : value.toList()) {
            if (entry.typeId() == QMetaType::QString) {
                texts.append(entry.toString());
            }
        }
        return Cleaned(texts);
    }
    default:
        return {};
    }
}

QString RecentDesignCaption(int index, const QString& path) {
    // An & in the file name is a letter of the name, not a second access key.
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

RecentDesigns::RecentDesigns(QWidget* owner)
    : QObject(owner), menu_(new QMenu(QString::fromLatin1(kMenuTitle), owner)) {
    menu_->setObjectName(QStringLiteral("RecentDesigns1"));
    menu_->setToolTipsVisible(true);
    rebuildMenu();
}

RecentDesigns::~RecentDesigns() = default;

void RecentDesigns::read(QSettings& store) {
    paths_ = RecentDesignsFromSetting(store.value(kRecentDesignsValue));
    rebuildMenu();
}

void RecentDesigns::write(QSettings& store) const {
    // A text store cannot tell an empty list from no value; no value says it plainly.
    if (paths_.isEmpty()) {
        store.remove(kRecentDesignsValue);
    } else {
        store.setValue(kRecentDesignsValue, paths_);
    }
}

void RecentDesigns::add(const QString& path) {
    change(WithRecentDesign(paths_, path));
}

void RecentDesigns::remove(const QString& path) {
    const QString gone = RecentDesignPath(path);
    QStringList rest;
    for (const QString& entry : paths_) {
        if (!SameDesign(entry, gone)) {
            rest.append(entry);
        }
    }
    change(rest);
}

void RecentDesigns::change(const QStringList& paths) {
    if (paths == paths_) {
        return;
    }
    paths_ = paths;
    rebuildMenu();
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    write(*store);
    store->sync();
}

void RecentDesigns::rebuildMenu() {
    // The entry being chosen may be what changes the list; it must outlive its own signal.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    if (paths_.isEmpty()) {
        menu_->addAction(QString::fromLatin1(kNoneCaption))->setEnabled(false);
        return;
    }
    for (int index = 0; index < paths_.size(); ++index) {
        const QString path = paths_.at(index);
        const QString shown = QDir::toNativeSeparators(path);
        QAction* item = menu_->addAction(RecentDesignCaption(index, path));
        item->setObjectName(QStringLiteral("RecentDesign%1").arg(index + 1));
        item->setToolTip(shown);
        item->setStatusTip(shown);
        connect(item, &QAction::triggered, this, [this, path] { Q_EMIT chosen(path); });
    }
}

} // namespace lapwerk
