#pragma once
// q7xctl as a user runs it: the program in a folder of its own beside the language libraries and
// a settings file the test writes, started as a process. Messages are compared with the English
// message library of that folder, which the test loads as well.
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace q7x::test {

class Ctl {
  public:
    struct Result {
        int status = -1;
        QString out, err;
    };

    Ctl() {
        const QDir build = QFileInfo(QStringLiteral(Q7XCTL_PATH)).dir();
        QFile::copy(QStringLiteral(Q7XCTL_PATH), program());
        for (const QString &dll : build.entryList({QStringLiteral("*.dll")}))
            QFile::copy(build.filePath(dll), m_dir.filePath(dll));
        setIni({});
        lang::LoadMessageTable(lang::LangEnglish, m_dir.path());
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString program() const { return path(QStringLiteral("q7xctl")); }
    // The configurator's settings beside the program: the lines given, after the language.
    void setIni(const QStringList &lines) {
        QFile ini(path(QStringLiteral("q7xconf.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(("[Lang]\nDefault=Russian\n" + lines.join('\n') + '\n').toUtf8());
    }

    // Runs the program with the arguments (and "--lang en" unless they choose), to its end.
    Result run(const QStringList &args, int timeoutMs = 120000) {
        QProcess &p = start(args);
        p.closeWriteChannel();
        if (!p.waitForFinished(timeoutMs))
            p.kill();
        p.waitForFinished();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QProcess &start(const QStringList &args) {
        m_process = std::make_unique<QProcess>();
        const QStringList english{QStringLiteral("--lang"), QStringLiteral("en")};
        m_process->start(program(), args.contains(english[0]) ? args : english + args);
        m_process->waitForStarted();
        return *m_process;
    }

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
};

inline QString M(int n) { return lang::M(n); }
inline QString lines(const QStringList &texts) { return texts.join('\n') + '\n'; }

} // namespace q7x::test
