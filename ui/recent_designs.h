#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;
class QSettings;
class QVariant;
class QWidget;

namespace lapwerk {

/// Value of the settings store that holds the recent designs: a list of absolute paths,
/// newest first.
inline constexpr const char* kRecentDesignsValue = "RecentDesigns";
/// How many designs File > Recent Designs keeps.
inline constexpr int kMaxRecentDesigns = 8;

/// `path` as the list keeps it: absolute (against the working directory) and clean, so that
/// two names of one file in one folder compare equal.
QString RecentDesignPath(const QString& path);

/// `paths` with `path` moved or added in front, any other entry for the same file dropped,
/// and cut to kMaxRecentDesigns entries.
QStringList WithRecentDesign(const QStringList& paths, const QString& path);

/// The list a stored value holds: a string list, a single string (a text store gives a list
/// of one back as a plain string) or a list of strings; empty entries and repeats dropped,
/// at most kMaxRecentDesigns kept. Any other value gives an empty list.
QStringList RecentDesignsFromSetting(const QVariant& value);

/// The menu text of entry `index` (0 is the newest): its number as the access key and the
/// file-name part of `path`.
QString RecentDesignCaption(int index, const QString& path);

/// The designs last opened or saved, newest first, and the submenu "Recent Designs" that
/// lists them. Every change goes to the settings store at once, so a crash loses nothing.
class RecentDesigns final : public QObject {
    Q_OBJECT

public:
    /// Makes the list, empty, with its submenu (owned by `owner`).
    explicit RecentDesigns(QWidget* owner);
    ~RecentDesigns() override;

    /// The submenu "Recent Designs" for the File menu.
    QMenu* menu() const { return menu_; }
    /// The absolute paths, newest first.
    const QStringList& paths() const { return paths_; }

    /// Takes the list from the store (what is there replaces what was here).
    void read(QSettings& store);
    /// Writes the list into the store.
    void write(QSettings& store) const;

    /// Puts the design at `path` in front and saves the list.
    void add(const QString& path);
    /// Takes the design at `path` out of the list and saves the list.
    void remove(const QString& path);

Q_SIGNALS:
    /// An entry of the submenu was chosen; `path` is its absolute path.
    void chosen(const QString& path);

private:
    void change(const QStringList& paths);
    void rebuildMenu();

    QMenu* menu_ = nullptr;
    QStringList paths_;
};

} // namespace lapwerk
