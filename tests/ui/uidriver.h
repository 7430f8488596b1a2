#pragma once
// The real window under an X server of its own, driven as a person drives it: keys, clicks and
// wheel turns enter through the window system's path (so focus moves, popups open and modal boxes
// take the focus as on a desktop), and a timer answers every modal box and file dialog.
#include "app/mainform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace q7x::uitest {

// Starts an Xvfb for this process (the server picks a free display) and points Qt's xcb platform
// at it. The server ends with the process.
bool startXServer();

// Answers the boxes and file dialogs that open, once they have the focus: records each box's text
// (a file dialog's title) and presses the next queued button (else OK, or Yes for a question) or
// enters the next queued path (else cancels).
class Answerer : public QObject {
  public:
    Answerer();
    QStringList texts;
    QList<QMessageBox::StandardButton> buttons;
    QStringList files;

  private:
    void look();
    QTimer m_timer;
    QPointer<QWidget> m_answered;
};

// The main window with the real dialogs, shown and active, with messages numbered "M<n>"; its
// boxes go to its own answerer or to one shared with other windows.
class Window {
    std::unique_ptr<Answerer> m_own;

  public:
    explicit Window(Answerer *shared = nullptr);
    const pages::Controls &c() const { return w.controls(); }
    Answerer &boxes;
    app::TMainForm w;
};

// Input to the window that holds `w`, at the centre of `w` unless a point in `w` is given; keys
// go to whatever has the focus.
void click(QWidget *w);
void click(QWidget *w, QPoint at);
void key(int key, Qt::KeyboardModifiers modifiers = {});
void type(const QString &text);
// Ctrl+A, then `text` typed over the selection of the field clicked into.
void retype(QWidget *field, const QString &text);
void paste(const QString &text); // through the clipboard and Ctrl+V
// One notch per step; positive steps turn the wheel away from the user (towards item 0).
void wheel(QWidget *w, int steps);
// Opens the list with a click on its arrow and clicks item `index`.
void pick(QComboBox *list, int index);
void clickTab(QTabWidget *pages, int index);

// Whether `field` keeps to `limit` characters (a mask's literals included) when digits are typed
// past the limit, typed into the middle of the full field, and pasted too long. Returns what went
// wrong, or an empty text.
QString typedLimitFault(QLineEdit *field, int limit);

} // namespace q7x::uitest

// The main() of a ui test: its own X server, then the test object as QTEST_MAIN runs it.
#define Q7X_UI_MAIN(TestObject)                                                                    \
    int main(int argc, char **argv) {                                                              \
        if (!q7x::uitest::startXServer())                                                          \
            return 1;                                                                              \
        QApplication app(argc, argv);                                                              \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
