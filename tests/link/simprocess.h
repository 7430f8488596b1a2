#pragma once
// The q7xsim program serving a pseudo-terminal, for the end-to-end tests: the path of its
// terminal, its state dump, and stopping it, which is also how a test pulls the cable.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <string>
#include <thread>

namespace q7x::test {

class SimProcess {
  public:
    SimProcess(const QString &dir, QStringList args) : m_link(dir + "/tty"), m_dump(dir + "/dump") {
        args << "--link" << m_link << "--dump" << m_dump;
        m_process.start(QStringLiteral(Q7XSIM_PATH), args);
        m_process.waitForStarted(5000);
        for (int i = 0; i < 250 && !QFile::exists(m_link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

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

} // namespace q7x::test
