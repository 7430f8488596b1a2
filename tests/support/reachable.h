#pragma once
// Whether a person can reach a control of the window: no disabled or hidden parent, its page among
// the tabs. A page control's sheets that are not shown count as reachable: a click on the tab
// shows them.
#include "pages/controls.h"

#include <QStackedWidget>

namespace q7x::test {

inline bool reachable(QWidget *w, QWidget *window) {
    for (QWidget *p = w; p && p != window; p = p->parentWidget()) {
        if (p->testAttribute(Qt::WA_Disabled))
            return false;
        if (auto *sheet = qobject_cast<pages::TabSheet *>(p)) {
            if (!sheet->tabVisible())
                return false;
            continue;
        }
        if (p->isHidden() && !qobject_cast<QStackedWidget *>(p->parentWidget()))
            return false;
    }
    return true;
}

} // namespace q7x::test
