#include "controls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStringListModel>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace q7x::pages {

QString vclClassOf(const QObject *o) {
    const auto *k = dynamic_cast<const ControlKind *>(o);
    return k ? QString::fromLatin1(k->vclClass()) : QString();
}

int tagOf(const QObject *o) {
    const auto *k = dynamic_cast<const ControlKind *>(o);
    return k ? k->tag() : 0;
}

// ---------------------------------------------------------------------------------------------

MenuItem::MenuItem(QObject *parent, const QString &name, const QString &caption)
    : QAction(caption, parent) {
    initControl(this, "TMenuItem", name);
}

// ---------------------------------------------------------------------------------------------

Label::Label(QWidget *parent, const QString &name, const QString &caption)
    : QLabel(caption, parent) {
    initControl(this, "TLabel", name);
}

void Label::mousePressEvent(QMouseEvent *e) {
    QLabel::mousePressEvent(e);
    if (onClick && e->button() == Qt::LeftButton)
        onClick(this);
}

Image::Image(QWidget *parent, const QString &name) : QLabel(parent) {
    initControl(this, "TImage", name);
}

void Image::mousePressEvent(QMouseEvent *e) {
    QLabel::mousePressEvent(e);
    if (onClick && e->button() == Qt::LeftButton)
        onClick(this);
}

Button::Button(QWidget *parent, const QString &name, const QString &caption, const char *vclClass)
    : QPushButton(caption, parent) {
    initControl(this, vclClass, name);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] {
        if (onClick)
            onClick(this);
    });
}

CheckBox::CheckBox(QWidget *parent, const QString &name, const QString &caption, int tag)
    : QCheckBox(caption, parent) {
    initControl(this, "TCheckBox", name, tag);
    connect(this, &QCheckBox::toggled, this, [this] {
        if (onValue)
            onValue();
        if (onClick)
            onClick(this);
    });
}

RadioButton::RadioButton(QWidget *parent, const QString &name, const QString &caption)
    : QRadioButton(caption, parent) {
    initControl(this, "TRadioButton", name);
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on && onClick)
            onClick(this);
    });
}

void RadioButton::setCaptionColor(const QColor &c) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    setPalette(p);
}

QColor RadioButton::captionColor() const { return palette().color(QPalette::WindowText); }

// ---------------------------------------------------------------------------------------------

namespace {

// What a screen reader meets for a list. Qt's own interface of a drop-down list gives its current
// item as its name on X11 and leaves the caption to the label relation, so an assistive tool that
// reads names announces "расширенный (W40)" and not what the list is for. This one gives the
// accessible name the window sets (the caption of the setting), the current item as the value,
// the open list as a child and the press and show-menu actions.
class AccessibleList : public QAccessibleWidget {
  public:
    explicit AccessibleList(QComboBox *w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value ||
            (t == QAccessible::Name && list()->accessibleName().isEmpty()))
            return list()->isEditable() ? list()->lineEdit()->text() : list()->currentText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface *child(int index) const override {
        if (index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(list()->view());
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (child && child->object() == list()->view())
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }
    QStringList actionNames() const override {
        return {showMenuAction(), pressAction(), setFocusAction()};
    }
    void doAction(const QString &action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

QAccessibleInterface *accessibleList(const QString &className, QObject *object) {
    if (className == QLatin1String(ComboBox::staticMetaObject.className()))
        return new AccessibleList(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

ComboBox::ComboBox(QWidget *parent, const QString &name, const QStringList &items, int tag)
    : QComboBox(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleList);
        return true;
    }();
    (void)accessible;
    initControl(this, "TComboBox", name, tag);
    addItems(items);
    setCurrentIndex(-1);
    setMaxVisibleItems(16);
    setFocusPolicy(Qt::StrongFocus); // a passing wheel takes no focus
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (onValue)
            onValue();
    });
    connect(this, &QComboBox::activated, this, [this] {
        if (onClick)
            onClick(this);
        if (onChange)
            onChange(this);
    });
}

// A list of fixed width never measures its items: measuring the long object-number lists is
// slow, and asking for a size policy that avoids it would build every popup up front.
QSize ComboBox::sizeHint() const {
    if (minimumWidth() > 0 && minimumWidth() == maximumWidth())
        return {minimumWidth(), minimumHeight() > 0 ? minimumHeight() : 22};
    return QComboBox::sizeHint();
}

QSize ComboBox::minimumSizeHint() const { return sizeHint(); }

void ComboBox::setChoiceInListOnly() {
    m_listOnly = true;
    // An editable list takes its text as a choice when the user leaves it or presses Enter.
    if (QLineEdit *edit = lineEdit()) {
        disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
        disconnect(edit, &QLineEdit::returnPressed, this, nullptr);
    }
}

void ComboBox::keyPressEvent(QKeyEvent *e) {
    if (!m_listOnly || view()->isVisible()) {
        QComboBox::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_F4:
    case Qt::Key_Space:
        showPopup();
        break;
    default:
        e->ignore(); // Enter would take the shown text as a choice
    }
}

void ComboBox::wheelEvent(QWheelEvent *e) {
    if (m_listOnly || !hasFocus())
        e->ignore();
    else
        QComboBox::wheelEvent(e);
}

template <class Change> void ComboBox::changeQuietly(Change &&change) {
    const int before = currentIndex();
    {
        const QSignalBlocker block(this);
        change();
    }
    if (currentIndex() != before && onValue)
        onValue();
}

void ComboBox::setItemIndex(int index) {
    changeQuietly([&] { setCurrentIndex(index >= 0 && index < count() ? index : -1); });
}

QString ComboBox::text() const {
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void ComboBox::setText(const QString &s) {
    changeQuietly([&] {
        if (isEditable())
            setEditText(s);
        else if (const int i = findText(s, Qt::MatchExactly); i >= 0)
            setCurrentIndex(i);
    });
}

QStringList ComboBox::items() const {
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out << itemText(i);
    return out;
}

void ComboBox::setItems(const QStringList &items) {
    changeQuietly([&] {
        const int index = currentIndex();
        if (auto *shared = qobject_cast<QStringListModel *>(model());
            shared && shared->parent() != this)
            setModel(new QStringListModel(this)); // stop sharing before changing items
        clear();
        addItems(items);
        setCurrentIndex(index < count() ? index : -1);
    });
}

void ComboBox::setSharedModel(QStringListModel *shared) {
    changeQuietly([&] {
        const int index = currentIndex();
        setModel(shared);
        setCurrentIndex(index < count() ? index : -1);
    });
}

// ---------------------------------------------------------------------------------------------

Edit::Edit(QWidget *parent, const QString &name, const QString &text, int tag, const char *vclClass)
    : QLineEdit(text, parent), m_text(text) {
    initControl(this, vclClass, name, tag);
    connect(this, &QLineEdit::textChanged, this, &Edit::textWasChanged);
    connect(this, &QLineEdit::textEdited, this, &Edit::textWasEdited);
}

// An edit that would pass the length limit keeps the text around it and only as much of what was
// typed or pasted as fits: a key in a full field changes nothing, a long paste is cut.
void Edit::textWasEdited() {
    const QString now = text();
    if (m_maxLength <= 0 || now.size() <= m_maxLength)
        return;
    const qsizetype common = std::min(now.size(), m_text.size());
    qsizetype head = 0;
    while (head < common && now[head] == m_text[head])
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && now[now.size() - 1 - tail] == m_text[m_text.size() - 1 - tail])
        ++tail;
    const qsizetype room = std::max<qsizetype>(0, m_maxLength - head - tail);
    const QString inserted = now.mid(head, now.size() - head - tail).left(room);
    setText(now.left(head) + inserted + now.right(tail));
    setCursorPosition(int(head + inserted.size()));
}

// The signal's own text may be stale (a handler of the same edit may have changed the text since),
// so the text is read from the edit, and a text already handled is not handled twice.
void Edit::textWasChanged() {
    const QString now = text();
    if (m_upper) {
        const QString upper = now.toUpper();
        if (upper != now) {
            const int pos = cursorPosition();
            setText(upper); // runs this slot again with the clean text
            setCursorPosition(pos);
            return;
        }
    }
    if (onValue)
        onValue();
    if (now == m_text)
        return;
    m_text = now;
    if (onChange)
        onChange(this);
}

void Edit::focusInEvent(QFocusEvent *e) {
    QLineEdit::focusInEvent(e);
    m_entered = true;
}

void Edit::focusOutEvent(QFocusEvent *e) {
    QLineEdit::focusOutEvent(e);
    // A box or a popup takes the focus and gives it back: the user has not left the field. A field
    // that lost the focus before it ever had it (another field's rule took it back) was not
    // visited either.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason ||
        !m_entered)
        return;
    m_entered = false;
    if (onExit)
        onExit(this);
}

void Edit::mousePressEvent(QMouseEvent *e) {
    QLineEdit::mousePressEvent(e);
    if (onClick && e->button() == Qt::LeftButton)
        onClick(this);
}

MaskEdit::MaskEdit(QWidget *parent, const QString &name, const QString &qtMask, int tag)
    : Edit(parent, name, {}, tag, "TMaskEdit") {
    setInputMask(qtMask);
}

void MaskEdit::setText(const QString &s) {
    // "_" is the mask's own blank character, so blank positions stay where they are.
    QLineEdit::setText(s);
}

LabeledEdit::LabeledEdit(QWidget *parent, const QString &name, const QString &labelCaption, int tag)
    : QWidget(parent) {
    initControl(this, "TLabeledEdit", name, tag);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(1);
    m_label = new QLabel(labelCaption, this);
    m_edit = new Edit(this, QString());
    // The inner edit is part of this control: it has no name and no kind of its own.
    m_edit->setVclClass(nullptr);
    box->addWidget(m_label);
    box->addWidget(m_edit);
    setFocusProxy(m_edit);
}

// ---------------------------------------------------------------------------------------------

RadioGroup::RadioGroup(QWidget *parent, const QString &name, const QString &caption,
                       const QStringList &items, int columns)
    : QGroupBox(caption, parent) {
    initControl(this, "TRadioGroup", name);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(1);
    const int perColumn = (items.size() + columns - 1) / qMax(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group.addButton(b, i);
        m_buttons << b;
        grid->addWidget(b, i % perColumn, i / perColumn);
    }
    m_group.setExclusive(true);
    connect(&m_group, &QButtonGroup::idClicked, this, &RadioGroup::userClicked);
}

void RadioGroup::setItemIndex(int index) {
    if (index < -1 || index >= m_buttons.size() || index == m_index)
        return;
    m_index = index;
    if (index < 0) {
        m_group.setExclusive(false);
        for (auto *b : m_buttons)
            b->setChecked(false);
        m_group.setExclusive(true);
    } else {
        m_buttons[index]->setChecked(true);
    }
    if (onValue)
        onValue();
    if (onClick)
        onClick(this);
}

void RadioGroup::userClicked(int id) {
    if (id == m_index)
        return;
    m_index = id;
    if (onValue)
        onValue();
    if (onClick)
        onClick(this);
}

QStringList RadioGroup::items() const {
    QStringList out;
    for (auto *b : m_buttons)
        out << b->text();
    return out;
}

void RadioGroup::setItemText(int index, const QString &s) {
    if (index >= 0 && index < m_buttons.size())
        m_buttons[index]->setText(s);
}

QRadioButton *RadioGroup::button(int index) const {
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

GroupBox::GroupBox(QWidget *parent, const QString &name, const QString &caption)
    : QGroupBox(caption, parent) {
    initControl(this, "TGroupBox", name);
}

Panel::Panel(QWidget *parent, const QString &name, bool framed) : QFrame(parent) {
    initControl(this, "TPanel", name);
    if (framed)
        setFrameShape(QFrame::StyledPanel);
}

Bevel::Bevel(QWidget *parent, const QString &name) : QFrame(parent) {
    initControl(this, "TBevel", name);
    setFrameShape(QFrame::HLine);
}

Memo::Memo(QWidget *parent, const QString &name) : QPlainTextEdit(parent) {
    initControl(this, "TMemo", name);
}

QStringList Memo::lines() const {
    const QString all = toPlainText();
    return all.isEmpty() ? QStringList() : all.split(QLatin1Char('\n'));
}

ProgressBar::ProgressBar(QWidget *parent, const QString &name) : QProgressBar(parent) {
    initControl(this, "TProgressBar", name);
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

StatusBar::StatusBar(QWidget *parent, const QString &name) : QStatusBar(parent) {
    initControl(this, "TStatusBar", name);
    setSizeGripEnabled(false);
    m_panel = new QLabel(this);
    m_panel->setTextInteractionFlags(Qt::NoTextInteraction);
    addWidget(m_panel, 1);
}

QString StatusBar::simpleText() const { return m_panel->text(); }

void StatusBar::setSimpleText(const QString &s) { m_panel->setText(s); }

// ---------------------------------------------------------------------------------------------

TabSheet::TabSheet(PageControl *owner, const QString &name, const QString &caption)
    : QWidget(owner), m_owner(owner), m_caption(caption) {
    initControl(this, "TTabSheet", name);
    owner->addSheet(this);
}

void TabSheet::setCaption(const QString &s) {
    m_caption = s;
    m_owner->layoutTabTexts();
}

int TabSheet::pageIndex() const { return m_owner->indexOf(const_cast<TabSheet *>(this)); }

bool TabSheet::tabVisible() const { return m_owner->isTabVisible(pageIndex()); }

void TabSheet::setTabVisible(bool on) {
    ++m_owner->m_codeDepth;
    m_owner->setTabVisible(pageIndex(), on);
    --m_owner->m_codeDepth;
    // Hiding the active tab makes Qt show another page: for the user that is a change of page,
    // with the page rules that go with it.
    m_owner->currentWasChanged(m_owner->currentIndex());
    m_owner->m_active = m_owner->currentIndex();
}

void TabSheet::setHighlighted(bool on) {
    m_highlighted = on;
    m_owner->refreshTab(this);
}

PageControl::PageControl(QWidget *parent, const QString &name) : QTabWidget(parent) {
    initControl(this, "TPageControl", name);
    // The tab widget shows a page when its tab bar's current tab changes; this connection comes
    // before the tab widget's own, so a page can be built before it is shown.
    auto *bar = new QTabBar(this);
    bar->setObjectName(QStringLiteral("qt_tabwidget_tabbar")); // as the tab widget's own bar
    bar->setDrawBase(false);
    connect(bar, &QTabBar::currentChanged, this, [this](int index) {
        if (beforeShow && index >= 0)
            beforeShow(index);
    });
    setTabBar(bar);
    tabBar()->setUsesScrollButtons(false);
    tabBar()->setExpanding(false);
    tabBar()->setElideMode(Qt::ElideNone);
    // A tab widget places its page stack only once it is shown itself; showing an unsized stack
    // first sizes it from every page's size hint, which is then thrown away.
    if (auto *stack = findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly))
        stack->resize(size());
    connect(this, &QTabWidget::currentChanged, this, &PageControl::currentWasChanged);
}

void PageControl::addSheet(TabSheet *sheet) {
    ++m_codeDepth;
    m_sheets << sheet;
    addTab(sheet, sheet->caption());
    --m_codeDepth;
    m_active = currentIndex();
    layoutTabTexts();
}

TabSheet *PageControl::sheet(int index) const {
    return index >= 0 && index < m_sheets.size() ? m_sheets[index] : nullptr;
}

void PageControl::setActivePageIndex(int index) {
    if (index < 0 || index >= count())
        return;
    ++m_codeDepth;
    setCurrentIndex(index);
    --m_codeDepth;
    m_active = currentIndex();
}

void PageControl::currentWasChanged(int index) {
    if (m_codeDepth > 0 || index == m_active)
        return;
    if (onChanging)
        onChanging(this); // activePageIndex() still names the page being left
    m_active = index;
    if (onChange)
        onChange(this);
}

void PageControl::refreshTab(TabSheet *sheet) {
    const int i = indexOf(sheet);
    if (i < 0)
        return;
    tabBar()->setTabTextColor(i, sheet->highlighted() ? QColor(0, 0, 160) : QColor());
    QFont f = tabBar()->font();
    Q_UNUSED(f);
}

void PageControl::resizeEvent(QResizeEvent *e) {
    QTabWidget::resizeEvent(e);
    layoutTabTexts();
}

// Tabs never scroll: when the captions do not fit in one row, long captions are broken into two
// lines at the space nearest their middle, so every tab stays readable.
void PageControl::layoutTabTexts() {
    const QFontMetrics fm(tabBar()->font());
    const int avail = width() > 50 ? width() - 8 : 10000;
    int oneLine = 0;
    for (auto *s : m_sheets)
        oneLine += fm.horizontalAdvance(s->caption()) + 24;
    const bool wrap = oneLine > avail;
    for (auto *s : m_sheets) {
        QString shown = s->caption();
        if (wrap && shown.size() > 12) {
            const int mid = shown.size() / 2;
            int best = -1;
            for (int i = 0; i < shown.size(); ++i)
                if (shown[i] == QLatin1Char(' ') && (best < 0 || qAbs(i - mid) < qAbs(best - mid)))
                    best = i;
            if (best > 0)
                shown[best] = QLatin1Char('\n');
        }
        const int i = indexOf(s);
        if (i >= 0 && tabText(i) != shown)
            setTabText(i, shown);
    }
}

} // namespace q7x::pages
