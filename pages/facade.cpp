#include "facade.h"

namespace q7x::pages {

void Controls::index(QWidget *root) {
    const auto all = root->findChildren<QWidget *>();
    m_byName.reserve(m_byName.size() + all.size());
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

QWidget *Controls::buildUntilFound(const QString &name) const {
    while (m_buildOne && m_buildOne())
        if (QWidget *w = m_byName.value(name, nullptr))
            return w;
    return nullptr;
}

void Controls::missing(const QString &name) { qFatal("no control named %s", qPrintable(name)); }

} // namespace q7x::pages
