#include "ui/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "editor/FileCommands.h"
#include "editor/Messages.h"
#include "ui/CommandErrors.h"
#include "ui/CommandIds.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

const QString kKey = QStringLiteral("Recent/pictures");

}  // namespace

RecentFiles::RecentFiles(Session& session, QWidget* window)
    : QObject(window), session_(session), window_(window) {
    QMenu* file = findOwnControl<QMenu>(window, QStringLiteral("File1"));
    QAction* before = findOwnControl<QAction>(
        window, QString::fromUtf8(namesOf(CommandId::SavePicture).menuItem));
    menu_ = new QMenu(QStringLiteral("Open Recent"), window);
    menu_->setObjectName(QStringLiteral("OpenRecent1"));
    if (file != nullptr) {
        file->insertMenu(before, menu_);
    }
    // Read again each time: another run of the program may have changed the list.
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::showFiles);
    showFiles();
}

QStringList RecentFiles::files() const {
    QStringList stored = programSettings().value(kKey).toStringList();
    stored.removeAll(QString());
    stored.removeDuplicates();
    return stored.mid(0, kMaxFiles);
}

void RecentFiles::store(const QStringList& files) const {
    QSettings stored = programSettings();
    stored.setValue(kKey, files);
}

void RecentFiles::remember(const QString& path) {
    const QString whole = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(whole);
    list.prepend(whole);
    store(list.mid(0, kMaxFiles));
    showFiles();
}

void RecentFiles::open(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QStringList list = files();
        list.removeAll(path);
        store(list);
        showFiles();
        session_.host().showMessage("The picture file \"" + path.toStdString() +
                                        "\" is not there any more; it is taken off the list "
                                        "of recent files.",
                                    kMessageCaption);
        return;
    }
    openPictureFile(session_, path.toStdString());
}

void RecentFiles::showFiles() {
    menu_->clear();
    const QStringList list = files();
    int number = 0;
    for (const QString& path : list) {
        QString shown = QDir::toNativeSeparators(path);
        shown.replace('&', QStringLiteral("&&"));
        QAction* item = menu_->addAction(QStringLiteral("&%1 %2").arg(++number % 10).arg(shown));
        item->setObjectName(QStringLiteral("OpenRecentFile%1").arg(number));
        connect(item, &QAction::triggered, this,
                [this, path] { runCommand(window_, [&] { open(path); }); });
    }
    if (list.isEmpty()) {
        menu_->addAction(QStringLiteral("No picture opened or saved yet"))->setEnabled(false);
    }
}

}  // namespace stipple::ui
