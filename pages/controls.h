#pragma once
// Small control classes that give Qt widgets the behaviour the settings rules and the codecs
// rely on: a value set by code runs (or does not run) the same handler as it would in the
// window's original toolkit, a control knows its kind ("vclClass") and its Tag, and texts are read
// and written as the translation walk sees them.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>

#include <functional>

class QStringListModel;

namespace q7x::pages {

// A handler receives the control that fired it, like a VCL event's Sender.
using Handler = std::function<void(QWidget *sender)>;
// Told that a control's value changed, whoever changed it (the user, code, a blocked signal).
using ValueWatch = std::function<void()>;

// What makes a widget a control of the window: its kind as the original toolkit names it
// ("TComboBox") and its Tag. Widgets without a kind are toolkit parts of a control. Kept in the
// object rather than as dynamic properties, whose lookup by name costs more than building the
// widget.
class ControlKind {
  public:
    virtual ~ControlKind() = default;
    const char *vclClass() const { return m_vclClass; }
    void setVclClass(const char *vclClass) { m_vclClass = vclClass; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

  private:
    const char *m_vclClass = nullptr; // a string literal
    int m_tag = 0;
};

// Names a control and records its kind and Tag.
template <class W> void initControl(W *w, const char *vclClass, const QString &name, int tag = 0) {
    w->setObjectName(name);
    w->setVclClass(vclClass);
    w->setTag(tag);
}
// Empty, and a Tag of 0, for a widget that is not a control of the window.
QString vclClassOf(const QObject *o);
int tagOf(const QObject *o);

class Label : public QLabel, public ControlKind {
    Q_OBJECT
  public:
    Label(QWidget *parent, const QString &name, const QString &caption);
    QString caption() const { return text(); }
    void setCaption(const QString &s) { setText(s); }
    Handler onClick;

  protected:
    void mousePressEvent(QMouseEvent *e) override;
};

// A picture (the logo); clicking it runs onClick.
class Image : public QLabel, public ControlKind {
    Q_OBJECT
  public:
    Image(QWidget *parent, const QString &name);
    Handler onClick;

  protected:
    void mousePressEvent(QMouseEvent *e) override;
};

class Button : public QPushButton, public ControlKind {
    Q_OBJECT
  public:
    Button(QWidget *parent, const QString &name, const QString &caption,
           const char *vclClass = "TButton");
    QString caption() const { return text(); }
    void setCaption(const QString &s) { setText(s); }
    Handler onClick;
};

// An item of a button's drop-down menu. It is a control of the window like the others, so the
// translation walk numbers its caption and the window shows it in the interface language.
class MenuItem : public QAction, public ControlKind {
    Q_OBJECT
  public:
    MenuItem(QObject *parent, const QString &name, const QString &caption);
    QString caption() const { return text(); }
    void setCaption(const QString &s) { setText(s); }
};

// Checked set by code runs onClick when the state changes, as a user's click does.
class CheckBox : public QCheckBox, public ControlKind {
    Q_OBJECT
  public:
    CheckBox(QWidget *parent, const QString &name, const QString &caption, int tag = 0);
    QString caption() const { return text(); }
    void setCaption(const QString &s) { setText(s); }
    Handler onClick;
    // Runs whenever the value changes, by the user or by code, before any handler: the window
    // keeps its model up to date with it.
    ValueWatch onValue;
};

// Checking by code runs onClick; unchecking (also by the exclusive partner) runs nothing.
class RadioButton : public QRadioButton, public ControlKind {
    Q_OBJECT
  public:
    RadioButton(QWidget *parent, const QString &name, const QString &caption);
    QString caption() const { return text(); }
    void setCaption(const QString &s) { setText(s); }
    void setCaptionColor(const QColor &c);
    QColor captionColor() const;
    Handler onClick;
};

// A drop-down list. setItemIndex() runs no handler; a user's choice runs onClick, then onChange.
// The wheel turns only the list the user is in; over any other it changes nothing.
class ComboBox : public QComboBox, public ControlKind {
    Q_OBJECT
  public:
    ComboBox(QWidget *parent, const QString &name, const QStringList &items, int tag = 0);
    int itemIndex() const { return currentIndex(); }
    void setItemIndex(int index);
    // The edit text: the selected item's text for a plain list, the free text of an editable one.
    QString text() const;
    void setText(const QString &s);
    QStringList items() const;
    void setItems(const QStringList &items);
    // Shares one read-only item model between many lists (the large object-number lists).
    void setSharedModel(QStringListModel *model);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Only a choice in the opened list runs the handlers: keys that would change the item open
    // the list instead, the wheel does nothing, and leaving an editable list or pressing Enter in
    // it chooses nothing. For a choice that cannot be taken back, like the interface language.
    // Call it after the list is made editable.
    void setChoiceInListOnly();
    Handler onClick;
    Handler onChange;
    // Runs whenever the current item changes, also by setItemIndex() and the other setters that
    // run no handler, before any handler.
    ValueWatch onValue;

  protected:
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

  private:
    // Runs `change` with the list's signals blocked (no handler runs), then tells onValue when the
    // current item moved.
    template <class Change> void changeQuietly(Change &&change);
    bool m_listOnly = false;
};

// A single-line edit. Text set by code runs onChange. onExit runs once when the user leaves the
// field for another control, not when a message box or a popup takes the focus for a while.
// maxLength limits typing and pasting only, as in the original toolkit; code may set longer texts.
class Edit : public QLineEdit, public ControlKind {
    Q_OBJECT
  public:
    Edit(QWidget *parent, const QString &name, const QString &text = {}, int tag = 0,
         const char *vclClass = "TEdit");
    void setVclMaxLength(int n) { m_maxLength = n; }
    int vclMaxLength() const { return m_maxLength; }
    void setUpperCase(bool on) { m_upper = on; }
    Handler onChange;
    Handler onExit;
    Handler onClick;
    // Runs whenever the text changes, by the user or by code, before onChange.
    ValueWatch onValue;

  protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

  private:
    void textWasChanged();
    void textWasEdited();
    int m_maxLength = 0;
    bool m_upper = false;
    bool m_entered = false;
    QString m_text; // the text the last change left, before an edit in progress
};

// A masked edit. text() is the displayed text with "_" in blank positions ("+_______________").
class MaskEdit : public Edit {
    Q_OBJECT
  public:
    MaskEdit(QWidget *parent, const QString &name, const QString &qtMask, int tag = 0);
    QString text() const { return displayText(); }
    void setText(const QString &s);
};

// An edit with its own caption label (the label is part of the control, not a separate one).
class LabeledEdit : public QWidget, public ControlKind {
    Q_OBJECT
  public:
    LabeledEdit(QWidget *parent, const QString &name, const QString &labelCaption, int tag = 0);
    QString labelCaption() const { return m_label->text(); }
    void setLabelCaption(const QString &s) { m_label->setText(s); }
    QString text() const { return m_edit->text(); }
    void setText(const QString &s) { m_edit->setText(s); }
    Edit *edit() const { return m_edit; }
    QLabel *label() const { return m_label; }

  private:
    QLabel *m_label;
    Edit *m_edit;
};

// A group of exclusive choices. setItemIndex() by code runs onClick when the index changes.
class RadioGroup : public QGroupBox, public ControlKind {
    Q_OBJECT
  public:
    RadioGroup(QWidget *parent, const QString &name, const QString &caption,
               const QStringList &items, int columns = 1);
    int itemIndex() const { return m_index; }
    void setItemIndex(int index);
    QStringList items() const;
    void setItemText(int index, const QString &s);
    QString caption() const { return title(); }
    void setCaption(const QString &s) { setTitle(s); }
    QRadioButton *button(int index) const;
    Handler onClick;
    // Runs whenever the chosen item changes, by the user or by code, before onClick.
    ValueWatch onValue;

  private:
    void userClicked(int id);
    QButtonGroup m_group;
    QList<QRadioButton *> m_buttons;
    int m_index = -1;
};

class GroupBox : public QGroupBox, public ControlKind {
    Q_OBJECT
  public:
    GroupBox(QWidget *parent, const QString &name, const QString &caption);
    QString caption() const { return title(); }
    void setCaption(const QString &s) { setTitle(s); }
};

class Panel : public QFrame, public ControlKind {
    Q_OBJECT
  public:
    Panel(QWidget *parent, const QString &name, bool framed = false);
};

// A line that separates rows.
class Bevel : public QFrame, public ControlKind {
    Q_OBJECT
  public:
    Bevel(QWidget *parent, const QString &name);
};

class Memo : public QPlainTextEdit, public ControlKind {
    Q_OBJECT
  public:
    Memo(QWidget *parent, const QString &name);
    QStringList lines() const;
    void addLine(const QString &s) { appendPlainText(s); }
};

class ProgressBar : public QProgressBar, public ControlKind {
    Q_OBJECT
  public:
    ProgressBar(QWidget *parent, const QString &name);
};

// A status bar with one simple panel whose text never times out.
class StatusBar : public QStatusBar, public ControlKind {
    Q_OBJECT
  public:
    StatusBar(QWidget *parent, const QString &name);
    QString simpleText() const;
    void setSimpleText(const QString &s);

  private:
    QLabel *m_panel;
};

class PageControl;

// One page of a page control. Its caption is the tab text; long captions wrap on the tab.
class TabSheet : public QWidget, public ControlKind {
    Q_OBJECT
  public:
    TabSheet(PageControl *owner, const QString &name, const QString &caption);
    QString caption() const { return m_caption; }
    void setCaption(const QString &s);
    bool tabVisible() const;
    void setTabVisible(bool on);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool on);
    int pageIndex() const;
    PageControl *pageControl() const { return m_owner; }

  private:
    PageControl *m_owner;
    QString m_caption;
    bool m_highlighted = false;
};

// A page control. Changing the page by code runs nothing; a user's change runs onChanging while
// activePageIndex() still names the page being left, then onChange.
class PageControl : public QTabWidget, public ControlKind {
    Q_OBJECT
  public:
    PageControl(QWidget *parent, const QString &name);
    int activePageIndex() const { return m_active; }
    void setActivePageIndex(int index);
    TabSheet *sheet(int index) const;
    int sheetCount() const { return m_sheets.size(); }
    void refreshTab(TabSheet *sheet);
    Handler onChanging;
    Handler onChange;
    // Called with the index of a page about to be shown, before it is (by code or by the user):
    // the window builds a page there the first time.
    std::function<void(int index)> beforeShow;

    // The window has a fixed size and gives the page control the room that is left, so the
    // control asks none of its pages for a size: a page is laid out when it is first shown,
    // not every page of the window at the first show.
    QSize sizeHint() const override { return {200, 120}; }
    QSize minimumSizeHint() const override { return {200, 120}; }
    // A page with word-wrapped captions would make the control ask every page for its height.
    bool hasHeightForWidth() const override { return false; }
    int heightForWidth(int) const override { return -1; }

  protected:
    void resizeEvent(QResizeEvent *e) override;

  private:
    friend class TabSheet;
    void addSheet(TabSheet *sheet);
    void currentWasChanged(int index);
    void layoutTabTexts();
    QList<TabSheet *> m_sheets;
    int m_active = -1;
    int m_codeDepth = 0;
};

} // namespace q7x::pages
