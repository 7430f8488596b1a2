#include "app/comparedialog.h"

#include "lang/messagetable.h"
#include "pages/formbase.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace q7x::app {

namespace {

constexpr int RowRole = Qt::UserRole;

// A coloured frame around a control, drawn by a sibling that follows the control's place and
// visibility and lets the mouse through. The control itself is left as it is.
class HighlightFrame : public QWidget {
  public:
    explicit HighlightFrame(QWidget *target) : QWidget(target->parentWidget()), m_target(target) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        target->installEventFilter(this);
        follow();
    }
    ~HighlightFrame() override {
        if (m_target)
            m_target->removeEventFilter(this);
    }
    QWidget *target() const { return m_target; }

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            follow();
            break;
        default:
            break;
        }
        return false;
    }
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setPen(QPen(QColor(230, 80, 0), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }

  private:
    void follow() {
        setGeometry(m_target->geometry().adjusted(-3, -3, 3, 3));
        setVisible(!m_target->isHidden());
        raise();
    }
    QPointer<QWidget> m_target;
};

} // namespace

CompareDialog::CompareDialog(pages::FormBase &form, const QString &title,
                             const QString &otherHeading, Rows rows)
    : QDialog(&form), m_form(form), m_compare(std::move(rows)) {
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 480);
    m_summary = new QLabel(this);
    m_tree = new QTreeWidget(this);
    m_tree->setColumnCount(3);
    m_tree->setHeaderLabels({lang::M(1706), lang::M(1707), otherHeading});
    m_tree->header()->resizeSection(0, 380);
    m_tree->header()->resizeSection(1, 170);
    m_tree->setRootIsDecorated(false);
    m_tree->setWordWrap(true);
    // A double click, or Enter, on a row.
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const QVariant row = item->data(0, RowRole);
        if (row.isValid())
            goTo(row.toInt());
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *again = buttons->addButton(lang::M(1721), QDialogButtonBox::ActionRole);
    connect(again, &QPushButton::clicked, this, &CompareDialog::compareAgain);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    compareAgain();
}

CompareDialog::~CompareDialog() { clearHighlights(); }

QString CompareDialog::summary() const { return m_summary->text(); }

QList<QWidget *> CompareDialog::highlighted() const {
    QList<QWidget *> out;
    for (const QPointer<QWidget> &frame : m_frames)
        if (frame)
            out << static_cast<HighlightFrame *>(frame.data())->target();
    return out;
}

void CompareDialog::compareAgain() {
    m_rows = m_compare();
    fill();
}

void CompareDialog::fill() {
    clearHighlights();
    m_tree->clear();
    m_summary->setText(m_rows.isEmpty() ? lang::M(1710) : lang::FormatM(1715, int(m_rows.size())));
    QTreeWidgetItem *page = nullptr;
    for (int i = 0; i < m_rows.size(); ++i) {
        const report::DifferenceRow &row = m_rows[i];
        if (!page || page->text(0) != row.page) {
            page = new QTreeWidgetItem(m_tree, {row.page});
            page->setFirstColumnSpanned(true);
            QFont bold = page->font(0);
            bold.setBold(true);
            page->setFont(0, bold);
        }
        auto *item = new QTreeWidgetItem(page, {row.setting, row.window, row.other});
        item->setData(0, RowRole, i);
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, item->text(column));
        if (row.kind != report::DifferenceRow::Kind::Differs)
            item->setForeground(row.kind == report::DifferenceRow::Kind::Unstorable ? 1 : 2,
                                QColor(190, 0, 0));
        QWidget *control = row.control.isEmpty() ? nullptr : m_form.controls().find(row.control);
        if (control && !highlighted().contains(control))
            m_frames << new HighlightFrame(control);
    }
    m_tree->expandAll();
}

void CompareDialog::clearHighlights() {
    for (const QPointer<QWidget> &frame : m_frames)
        delete frame.data();
    m_frames.clear();
}

void CompareDialog::goTo(int i) {
    if (i < 0 || i >= m_rows.size())
        return;
    const report::DifferenceRow &row = m_rows[i];
    // Pages are changed as the user changes them, so the rules of the page change run.
    for (const QString &name : row.pages)
        if (auto *sheet = qobject_cast<pages::TabSheet *>(m_form.controls().find(name));
            sheet && sheet->tabVisible())
            sheet->pageControl()->setCurrentIndex(sheet->pageIndex());
    m_form.activateWindow();
    if (QWidget *control = row.control.isEmpty() ? nullptr : m_form.controls().find(row.control))
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace q7x::app
