#include "backup/backup_screen.h"

#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>
#include <memory>

#include "backup/backup_task.h"
#include "widgets/widget_text.h"

namespace qov::backup {

std::string DefaultBackupFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFile::encodeName(documents + "/QovCom kopije").toStdString();
}

void RunBackupWindow(Station& station, QWidget* parent) {
    BackupTask task(station, DefaultBackupFolder());
    const std::string folder = task.chooseFolder();
    if (folder.empty()) {
        return;
    }
    QDialog window(parent);
    window.setObjectName("frmBackup");
    window.setWindowTitle("Rezervna kopija kase");
    auto* grid = new QGridLayout(&window);
    auto* caption = new QLabel(&window);
    auto* counter = new QLabel(&window);
    auto* bar = new QProgressBar(&window);
    auto* stop = new QPushButton("Prekini", &window);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(counter, 0, 1);
    grid->addWidget(bar, 1, 0);
    grid->addWidget(stop, 1, 1);
    window.setMinimumWidth(360);
    QObject::connect(stop, &QPushButton::clicked, &window, [&task] { task.cancel(); });
    task.progress().changed = [&] {
        const tables::TransferProgress& p = task.progress();
        caption->setText(ToScreen(p.caption()));
        counter->setText(ToScreen(p.counter()));
        bar->setRange(0, std::max(p.total(), 1));
        bar->setValue(std::min(p.done(), std::max(p.total(), 1)));
    };
    window.setModal(true);  // no other exchange starts while it runs
    window.show();
    task.run(folder);
    task.progress().changed = nullptr;
}

tables::TransferRun::Operation BackupBeforeSend(Station& station) {
    auto task = std::make_shared<BackupTask>(station, DefaultBackupFolder());
    return
        [task](Station&, tables::TransferProgress& progress) { return task->beforeSend(progress); };
}

}  // namespace qov::backup
