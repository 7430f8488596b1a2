#pragma once
// Helpers the tests share: the INI file beside the test, numbered message texts, a user's choice
// in a list, and the device simulator program on a pseudo-terminal.
#include "lang/ini.h"
#include "lang/messagetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#ifdef QT_WIDGETS_LIB
#include <QComboBox>
#endif

#include <chrono>
#include <string>
#include <thread>

namespace q7x::test {

// Replaces the INI file beside the test executable.
inline void writeIni(const QByteArray &content) {
    QFile f(lang::IniPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// The six language libraries of the build.
inline const QStringList LanguageLibraries = {
    QStringLiteral("ruslng.dll"),  QStringLiteral("rusmess.dll"), QStringLiteral("englng.dll"),
    QStringLiteral("engmess.dll"), QStringLiteral("turklng.dll"), QStringLiteral("turkmess.dll")};

// Puts the named libraries built in `from` beside the test executable, where the program finds
// them as an installed program does.
inline void provideLibraries(const QString &from, const QStringList &names = LanguageLibraries) {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &n : names) {
        QFile::remove(here.filePath(n));
        QVERIFY2(QFile::copy(QDir(from).filePath(n), here.filePath(n)), qPrintable(n));
    }
}

// Message n of the table reads "M<n>", so a test sees which message was shown.
inline void numberMessages() {
    for (int k = 0; k < lang::MessageCount; ++k)
        lang::MessageTable()[std::size_t(k)] = QStringLiteral("M%1").arg(1000 + k);
}

#ifdef QT_WIDGETS_LIB
// A user's choice in a drop-down list: the index changes and the list reports the activation.
inline void choose(QComboBox *c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}
#endif

#ifdef Q7XSIM_PATH
// The q7xsim program serving a pseudo-terminal at DIR/tty, with its state dump at DIR/dump.
// Stopping it is also how a test pulls the cable.
class Simulator {
  public:
    Simulator(const QString &dir, QStringList args) : m_link(dir + "/tty"), m_dump(dir + "/dump") {
        args << "--link" << m_link << "--dump" << m_dump;
        m_process.start(QStringLiteral(Q7XSIM_PATH), args);
        m_process.waitForStarted(5000);
        for (int i = 0; i < 250 && !QFile::exists(m_link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~Simulator() { stop(); }
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // False when the program could not run (a build folder this user cannot read, for one).
    bool serving() const { return QFile::exists(m_link); }
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString link() const { return m_link; }
    std::string path() const { return m_link.toStdString(); }
    qint64 pid() const { return m_process.processId(); }
    // The rest of the dump line starting with `word`.
    QByteArray line(const QByteArray &word) const {
        for (const QByteArray &l : dump())
            if (l.startsWith(word + ' '))
                return l.mid(word.size() + 1);
        return {};
    }

  private:
    QList<QByteArray> dump() const {
        QFile f(m_dump);
        return f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>();
    }
    QString m_link;
    QString m_dump;
    QProcess m_process;
};
#endif

} // namespace q7x::test
