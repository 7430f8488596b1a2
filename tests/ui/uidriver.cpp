#include "uidriver.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFileDialog>
#include <QSpontaneKeyEvent>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QWheelEvent>
#include <QWindow>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace q7x::uitest {

namespace {

// Lets the window system catch up with an input: the boxes it opened are answered and a shown
// window holds the focus again.
void settle() {
    QCoreApplication::processEvents();
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); QTest::qWait(5)) {
        const QWidgetList all = QApplication::topLevelWidgets();
        const bool shown = std::any_of(all.begin(), all.end(), [](QWidget *w) {
            return w->isVisible() && w->windowType() != Qt::Popup;
        });
        if (!QApplication::activeModalWidget() && (!shown || QGuiApplication::focusWindow()))
            return;
    }
}

} // namespace

bool startXServer() {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // the server goes with the test, however it ends
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // The server writes its display number once it accepts connections.
    std::string display;
    pollfd p{fds[0], POLLIN, 0};
    char ch = 0;
    while (pid > 0 && poll(&p, 1, 20000) > 0 && read(fds[0], &ch, 1) == 1 && ch != '\n')
        display += ch;
    close(fds[0]);
    if (display.empty()) {
        qWarning("Xvfb did not start; it comes with the package xvfb");
        return false;
    }
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}

Answerer::Answerer() {
    connect(&m_timer, &QTimer::timeout, this, &Answerer::look);
    m_timer.start(20);
}

// Answers go through the event loop: a dialog's button may open another box in turn.
void Answerer::look() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isActiveWindow() || modal == m_answered)
        return;
    m_answered = modal;
    // Without a window manager nobody gives the focus back when the box closes: do what one does.
    if (QWidget *owner = modal->parentWidget() ? modal->parentWidget()->window() : nullptr)
        QTimer::singleShot(0, owner, [owner] { owner->activateWindow(); });
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        texts << box->text();
        const auto button = !buttons.isEmpty()              ? buttons.takeFirst()
                            : box->button(QMessageBox::Yes) ? QMessageBox::Yes
                                                            : QMessageBox::Ok;
        QMetaObject::invokeMethod(box->button(button), &QAbstractButton::click,
                                  Qt::QueuedConnection);
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        texts << dialog->windowTitle();
        if (files.isEmpty())
            return dialog->reject();
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(files.takeFirst());
        QMetaObject::invokeMethod(static_cast<QDialog *>(dialog), &QDialog::accept,
                                  Qt::QueuedConnection);
    }
}

Window::Window(Answerer *shared)
    : m_own(shared ? nullptr : std::make_unique<Answerer>()), boxes(shared ? *shared : *m_own) {
    test::numberMessages();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

void click(QWidget *w) { click(w, w->rect().center()); }

void click(QWidget *w, QPoint at) {
    QWidget *top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, at));
    settle();
}

void key(int key, Qt::KeyboardModifiers modifiers) {
    QWindow *focus = QGuiApplication::focusWindow();
    QVERIFY2(focus, "a key is typed while no window has the focus");
    QTest::keyClick(focus, Qt::Key(key), modifiers);
    settle();
}

void type(const QString &text) {
    for (QChar ch : text)
        key(QTest::asciiToKey(ch.toLatin1()));
}

void retype(QWidget *field, const QString &text) {
    click(field);
    key(Qt::Key_A, Qt::ControlModifier);
    type(text);
}

void paste(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
    key(Qt::Key_V, Qt::ControlModifier);
}

void wheel(QWidget *w, int steps) {
    QWidget *top = w->window();
    const QPoint centre = w->rect().center();
    QWheelEvent e(w->mapTo(top, centre), w->mapToGlobal(centre), QPoint(), QPoint(0, 120 * steps),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e); // as the platform delivers it: focus rules apply
    qApp->notify(top->windowHandle(), &e);
    settle();
}

void pick(QComboBox *list, int index) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const QStyle::SubControl arrow = QStyle::SC_ComboBoxArrow;
    click(list, list->style()->subControlRect(QStyle::CC_ComboBox, &option, arrow, list).center());
    QAbstractItemView *view = list->view();
    QTRY_VERIFY2(view->isVisible(), qPrintable(list->objectName() + QLatin1String(" stays shut")));
    const QModelIndex item = view->model()->index(index, list->modelColumn());
    view->scrollTo(item, QAbstractItemView::PositionAtCenter);
    const QRect row = view->visualRect(item);
    click(view->viewport(),
          {std::min(row.center().x(), view->viewport()->width() / 2), row.center().y()});
}

void clickTab(QTabWidget *pages, int index) {
    click(pages->tabBar(), pages->tabBar()->tabRect(index).center());
}

QString typedLimitFault(QLineEdit *field, int limit) {
    const QString digits = QStringLiteral("123456789012345678901234");
    const bool masked = !field->inputMask().isEmpty();
    // What the field shows without a mask's blanks: all `limit` characters, and unless the mask
    // overwrites them, the digits that fit in the order given.
    auto holds = [&](const QString &wanted) {
        const QString shown = field->displayText().remove(QLatin1Char('_'));
        return shown.size() == limit && (masked || shown == wanted);
    };
    auto fault = [field](const char *how) {
        return field->objectName() + QLatin1String(": ") + QLatin1String(how) +
               QLatin1String(" left '") + field->displayText() + QLatin1Char('\'');
    };
    click(field);
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    type(digits.left(limit + 2));
    if (!holds(digits.left(limit)))
        return fault("typing past the limit");
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    type(QStringLiteral("9"));
    if (!holds(digits.left(limit)))
        return fault("typing into the full field");
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    paste(digits.left(limit + 3));
    return holds(digits.left(limit)) ? QString() : fault("a long paste");
}

} // namespace q7x::uitest
