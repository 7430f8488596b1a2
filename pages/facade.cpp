#include "facade.h"

namespace q7x::pages {

void Controls::index(QWidget *root) {
    m_byName.clear();
    m_duplicates.clear();
    const auto all = root->findChildren<QWidget *>();
    m_byName.reserve(all.size());
    for (QWidget *w : all) {
        const auto *kind = dynamic_cast<const ControlKind *>(w);
        if (w->objectName().isEmpty() || !kind || !kind->vclClass())
            continue;
        if (m_byName.contains(w->objectName()))
            m_duplicates << w->objectName();
        else
            m_byName.insert(w->objectName(), w);
    }
}

void Controls::missing(const QString &name) { qFatal("no control named %s", qPrintable(name)); }

} // namespace q7x::pages
