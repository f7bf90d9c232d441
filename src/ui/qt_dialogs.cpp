#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace qov {

namespace {

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// File paths travel as the file system's own bytes (what the file calls take), so a name
// outside Latin-1 survives the trip from the dialog to the file.
std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// "All Files (*.ini)|*.ini" -> "All Files (*.ini)": each description|pattern pair becomes
// one Qt filter; a description that already names its pattern is kept as it is.
QString qtFilter(const std::string& filter) {
    const QStringList parts = latin1(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(';', ' ');
        filters << (description.contains(pattern) ? description
                                                  : description + " (" + pattern + ")");
    }
    if (filters.isEmpty() && !parts.isEmpty()) {
        filters << parts.front();
    }
    return filters.join(";;");
}

QString startPath(const FileDialog& dialog) {
    QString folder = pathText(dialog.folder);
    if (dialog.fileName.empty()) {
        return folder;
    }
    const QString name = pathText(dialog.fileName);
    if (name.startsWith('/')) {
        return name;
    }
    return folder.isEmpty() ? name : folder + (folder.endsWith('/') ? "" : "/") + name;
}

}  // namespace

Answer QtDialogs::show(const MessageBox& box) {
    QMessageBox message(parent_);
    message.setWindowTitle(latin1(box.title));
    message.setText(latin1(box.text));
    switch (box.icon) {
        case Icon::Critical:
            message.setIcon(QMessageBox::Critical);
            break;
        case Icon::Exclamation:
            message.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            message.setIcon(QMessageBox::Information);
            break;
        case Icon::None:
            message.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (box.buttons) {
        case Buttons::Ok:
            message.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::RetryCancel:
            message.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            message.setDefaultButton(box.defaultAnswer == Answer::Cancel ? QMessageBox::Cancel
                                                                         : QMessageBox::Retry);
            break;
        case Buttons::YesNo:
            message.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            message.setDefaultButton(box.defaultAnswer == Answer::No ? QMessageBox::No
                                                                     : QMessageBox::Yes);
            break;
    }
    // A box asks for the normal pointer, whatever the procedure behind it set.
    const bool wasBusy = busy_;
    if (wasBusy) {
        QApplication::restoreOverrideCursor();
    }
    const int result = message.exec();
    if (wasBusy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    switch (result) {
        case QMessageBox::Retry:
            return Answer::Retry;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    // Closing a question box with Esc or the title bar counts as its negative button.
    switch (box.buttons) {
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

std::string QtDialogs::openFile(const FileDialog& dialog) {
    return pathBytes(QFileDialog::getOpenFileName(parent_, latin1(dialog.title), startPath(dialog),
                                                  qtFilter(dialog.filter)));
}

std::string QtDialogs::saveFile(const FileDialog& dialog) {
    return pathBytes(QFileDialog::getSaveFileName(parent_, latin1(dialog.title), startPath(dialog),
                                                  qtFilter(dialog.filter)));
}

std::string QtDialogs::chooseFolder(const FileDialog& dialog) {
    return pathBytes(
        QFileDialog::getExistingDirectory(parent_, latin1(dialog.title), startPath(dialog)));
}

void QtDialogs::setBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtDialogs::yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace qov
