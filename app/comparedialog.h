#pragma once
// The result of a comparison of the window with a file or the device: every setting that differs,
// grouped by page, with the window's value and the other one. A double click goes to the page and
// focuses the control; while the dialog is open the controls that differ wear a coloured frame.
#include "report/differences.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace q7x::pages {
class FormBase;
}

namespace q7x::app {

class CompareDialog : public QDialog {
    Q_OBJECT
  public:
    using Rows = std::function<QList<report::DifferenceRow>()>;
    // `rows` compares anew; "Compare again" calls it after the user has changed the window.
    CompareDialog(pages::FormBase &form, const QString &title, const QString &otherHeading,
                  Rows rows);
    ~CompareDialog() override;

    const QList<report::DifferenceRow> &rows() const { return m_rows; }
    QTreeWidget *tree() const { return m_tree; }
    QString summary() const;
    // The controls that wear a frame now.
    QList<QWidget *> highlighted() const;
    // Shows the page (and inner page) of row i and focuses its control.
    void goTo(int row);
    void compareAgain();

  private:
    void fill();
    void clearHighlights();

    pages::FormBase &m_form;
    Rows m_compare;
    QList<report::DifferenceRow> m_rows;
    QLabel *m_summary = nullptr;
    QTreeWidget *m_tree = nullptr;
    QList<QPointer<QWidget>> m_frames;
};

} // namespace q7x::app
