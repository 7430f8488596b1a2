#include "dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace q7x::pages {

void QtDialogs::message(const QString &text, const QString &caption, Icon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::Information:
        qicon = QMessageBox::Information;
        break;
    case Icon::Warning:
        qicon = QMessageBox::Warning;
        break;
    case Icon::Error:
        qicon = QMessageBox::Critical;
        break;
    case Icon::None:
        break;
    }
    QMessageBox box(qicon, caption, text, QMessageBox::Ok, m_owner);
    box.exec();
}

bool QtDialogs::question(const QString &text, const QString &caption) {
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtDialogs::saveFileName(const QString &title, const QString &filter,
                                const QString &defaultSuffix, const QString &proposedName) {
    QFileDialog dlg(m_owner, title, QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(defaultSuffix);
    dlg.selectFile(proposedName);
    return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()
               ? dlg.selectedFiles().first()
               : QString();
}

QString QtDialogs::openFileName(const QString &title, const QString &filter,
                                const QString &proposedName) {
    QFileDialog dlg(m_owner, title, QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.selectFile(proposedName);
    return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()
               ? dlg.selectedFiles().first()
               : QString();
}

QString QtDialogs::existingDirectory(const QString &title) {
    return QFileDialog::getExistingDirectory(m_owner, title);
}

bool QtDialogs::openUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

void RecordingDialogs::message(const QString &text, const QString &caption, Icon icon) {
    shown.append({QStringLiteral("message"), text, caption, icon});
}

bool RecordingDialogs::question(const QString &text, const QString &caption) {
    shown.append({QStringLiteral("question"), text, caption, Icon::None});
    return answers.isEmpty() ? true : answers.takeFirst();
}

QString RecordingDialogs::saveFileName(const QString &title, const QString &filter,
                                       const QString &defaultSuffix, const QString &proposedName) {
    shown.append({QStringLiteral("save"), proposedName,
                  title + QLatin1Char('|') + filter + QLatin1Char('|') + defaultSuffix,
                  Icon::None});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::openFileName(const QString &title, const QString &filter,
                                       const QString &proposedName) {
    shown.append(
        {QStringLiteral("open"), proposedName, title + QLatin1Char('|') + filter, Icon::None});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::existingDirectory(const QString &title) {
    shown.append({QStringLiteral("dir"), QString(), title, Icon::None});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

bool RecordingDialogs::openUrl(const QUrl &url) {
    shown.append({QStringLiteral("url"), url.toString(), QString(), Icon::None});
    return openUrlResult;
}

QStringList RecordingDialogs::texts(const QString &kind) const {
    QStringList out;
    for (const auto &s : shown)
        if (s.kind == kind)
            out << s.text;
    return out;
}

} // namespace q7x::pages
