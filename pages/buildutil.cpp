#include "buildutil.h"

namespace q7x::pages::build {

QString n(const char *prefix, int i) { return S(prefix) + QString::number(i); }

Label *number(QWidget *parent, const QString &name, int value) {
    auto *l = new Label(parent, name, QString::number(value));
    l->setAlignment(Qt::AlignCenter);
    l->setFixedHeight(RowHeight);
    return l;
}

QGridLayout *grid(QWidget *w, int margin, int hspace, int vspace) {
    auto *g = new QGridLayout(w);
    g->setContentsMargins(margin, margin, margin, margin);
    g->setHorizontalSpacing(hspace);
    g->setVerticalSpacing(vspace);
    return g;
}

QVBoxLayout *vbox(QWidget *w, int margin, int space) {
    auto *b = new QVBoxLayout(w);
    b->setContentsMargins(margin, margin, margin, margin);
    b->setSpacing(space);
    return b;
}

QHBoxLayout *hbox(QWidget *w, int margin, int space) {
    auto *b = new QHBoxLayout(w);
    b->setContentsMargins(margin, margin, margin, margin);
    b->setSpacing(space);
    return b;
}

Label *caption(QWidget *parent, const QString &name, const QString &text, int wrapWidth,
               Qt::Alignment align) {
    auto *l = new Label(parent, name, text);
    l->setAlignment(align);
    if (wrapWidth > 0) {
        l->setWordWrap(true);
        l->setFixedWidth(wrapWidth);
    }
    return l;
}

ComboBox *combo(QWidget *parent, const QString &name, const QStringList &items, int width,
                int tag) {
    auto *c = new ComboBox(parent, name, items, tag);
    c->setFixedSize(width, RowHeight);
    return c;
}

CheckBox *box(QWidget *parent, const QString &name, int tag) {
    auto *c = new CheckBox(parent, name, QString(), tag);
    c->setFixedHeight(RowHeight - 2);
    return c;
}

} // namespace q7x::pages::build
