#pragma once
// q7xctl as a user runs it: the program in a folder of its own beside the language libraries and
// a settings file the test writes, started as a process in that folder (so that nothing one run
// leaves behind meets another test). Messages are compared with the English message library of
// that folder, which the test loads as well.
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace q7x::test {

class Ctl {
  public:
    struct Result {
        int status = -1;
        QString out, err;
    };

    Ctl() {
        const QDir build = QFileInfo(QStringLiteral(Q7XCTL_PATH)).dir();
        // A link to the program where the file system allows it: a copy would be as good,
        // only slower, and every test starts from a folder of its own.
        if (::link(Q7XCTL_PATH, QFile::encodeName(program()).constData()) != 0)
            QFile::copy(QStringLiteral(Q7XCTL_PATH), program());
        // The language libraries, and the JSON Schema the program names in its JSON.
        for (const QString &file :
             build.entryList({QStringLiteral("*.dll"), QStringLiteral("q7xctl.schema.json")}))
            QFile::copy(build.filePath(file), m_dir.filePath(file));
        setIni({});
        lang::LoadMessageTable(lang::LangEnglish, m_dir.path());
        // The language comes from the options and the settings file, not from the test's locale.
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_MESSAGES"));
        environment.remove(QStringLiteral("LANG"));
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString program() const { return path(QStringLiteral("q7xctl")); }
    // The configurator's settings beside the program: the interface language (none: no [Lang]
    // section), then the lines given.
    void setIni(const QStringList &lines, const QString &language = lang::LangRussian) {
        QFile ini(path(QStringLiteral("q7xconf.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QString head = language.isEmpty() ? QString() : "[Lang]\nDefault=" + language + '\n';
        ini.write((head + lines.join('\n') + '\n').toUtf8());
    }

    // Runs the program with the arguments (and "--lang en" unless they choose or `english` is
    // off), standard input fed from `input`, to its end.
    Result run(const QStringList &args, const QByteArray &input = {}, int timeoutMs = 120000) {
        QProcess &p = start(args);
        p.write(input);
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
        m_process->setWorkingDirectory(m_dir.path());
        m_process->setProcessEnvironment(environment);
        if (!stdoutFile.isEmpty())
            m_process->setStandardOutputFile(stdoutFile);
        const QStringList language{QStringLiteral("--lang"), QStringLiteral("en")};
        m_process->start(program(),
                         args.contains(language[0]) || !english ? args : language + args);
        m_process->waitForStarted();
        return *m_process;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    bool english = true;
    QString stdoutFile; // where the program's standard output goes instead of the test

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
};

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

inline QString M(int n) { return lang::M(n); }
inline QString lines(const QStringList &texts) { return texts.join('\n') + '\n'; }
// Diagnostics as the program says them on stderr.
inline QString said(const QStringList &texts) {
    QString out;
    for (const QString &t : texts)
        out += "q7xctl: " + t + '\n';
    return out;
}

} // namespace q7x::test
