#pragma once
// Small helpers for building the window's pages in code.
#include "image/itemlists.h"
#include "pages/controls.h"

#include <QBoxLayout>
#include <QGridLayout>

namespace q7x::pages {
namespace items = image::items;
} // namespace q7x::pages

namespace q7x::pages::build {

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

inline constexpr int RowHeight = 21;

// A family member's name: prefix and decimal index.
QString n(const char *prefix, int i);
// Row labels and column headings that are plain numbers.
Label *number(QWidget *parent, const QString &name, int value);

QGridLayout *grid(QWidget *w, int margin = 4, int hspace = 4, int vspace = 1);
QVBoxLayout *vbox(QWidget *w, int margin = 4, int space = 2);
QHBoxLayout *hbox(QWidget *w, int margin = 4, int space = 4);

// A caption label; with a width it wraps its words within that width.
Label *caption(QWidget *parent, const QString &name, const QString &text, int wrapWidth = 0,
               Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A drop-down list of one row's height.
ComboBox *combo(QWidget *parent, const QString &name, const QStringList &items, int width,
                int tag = 0);
// A check box without caption, centred in its grid cell.
CheckBox *box(QWidget *parent, const QString &name, int tag = 0);

} // namespace q7x::pages::build
