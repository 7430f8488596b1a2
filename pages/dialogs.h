#pragma once
// Every message box, file dialog and shell "open" of the window goes through this interface:
// the real one shows Qt dialogs, tests install the recording one.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace q7x::pages {

class Dialogs {
  public:
    enum class Icon { None, Information, Warning, Error };
    virtual ~Dialogs() = default;

    // A message box with an OK button.
    virtual void message(const QString &text, const QString &caption = {},
                         Icon icon = Icon::None) = 0;
    // A question box with Yes and No buttons; true for Yes.
    virtual bool question(const QString &text, const QString &caption = {}) = 0;
    // Save and open dialogs; an empty result means the user cancelled.
    virtual QString saveFileName(const QString &title, const QString &filter,
                                 const QString &defaultSuffix, const QString &proposedName) = 0;
    virtual QString openFileName(const QString &title, const QString &filter,
                                 const QString &proposedName) = 0;
    virtual QString existingDirectory(const QString &title) = 0;
    // The desktop shell's "open" of a web address, a mail address or a file.
    virtual bool openUrl(const QUrl &url) = 0;
};

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget *owner) : m_owner(owner) {}
    void message(const QString &text, const QString &caption, Icon icon) override;
    bool question(const QString &text, const QString &caption) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &defaultSuffix,
                         const QString &proposedName) override;
    QString openFileName(const QString &title, const QString &filter,
                         const QString &proposedName) override;
    QString existingDirectory(const QString &title) override;
    bool openUrl(const QUrl &url) override;

  private:
    QWidget *m_owner;
};

// Records what would have been shown and answers from queues the test fills.
class RecordingDialogs : public Dialogs {
  public:
    struct Shown {
        QString kind; // "message", "question", "save", "open", "dir", "url"
        QString text;
        QString caption;
        Icon icon = Icon::None;
    };
    QList<Shown> shown;
    QList<bool> answers;   // question answers, default Yes
    QStringList fileNames; // dialog results, default cancelled
    bool openUrlResult = true;

    void message(const QString &text, const QString &caption, Icon icon) override;
    bool question(const QString &text, const QString &caption) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &defaultSuffix,
                         const QString &proposedName) override;
    QString openFileName(const QString &title, const QString &filter,
                         const QString &proposedName) override;
    QString existingDirectory(const QString &title) override;
    bool openUrl(const QUrl &url) override;

    QStringList texts(const QString &kind = QStringLiteral("message")) const;
    void clear() { shown.clear(); }
};

} // namespace q7x::pages
