// Object and partition numbering, the object rows of the remote-control page and passwords.
#include "image/pagerules.h"
#include "image/settings.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"

#include <QWidget>

namespace q7x::pages {

using build::S;

namespace {

// The control's own Enabled flag (a disabled parent does not clear it).
bool ownEnabled(const QWidget *w) { return !w->testAttribute(Qt::WA_Disabled); }

QString digitsOnly(const QString &s, const QString &alsoAllowed = {}) {
    QString out;
    out.reserve(s.size());
    for (QChar ch : s)
        if ((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || alsoAllowed.contains(ch))
            out += ch;
    return out;
}

} // namespace

void FormBase::ObjNmbClick(QWidget *sender) {
    const Controls &c = m_controls;
    int objects[17] = {};
    for (int q = 1; q <= 16; ++q) {
        ComboBox *obj = c.combo(S("ObjNmb"), q);
        objects[q] = ownEnabled(obj) ? qMax(obj->itemIndex(), 0) : 0;
    }
    for (int q = 1; q <= 16; ++q)
        for (int later = q + 1; later <= 16; ++later)
            if (objects[q] != 0 && objects[later] == objects[q])
                objects[later] = 0;
    QList<int> rows;
    for (int q = 1; q <= 16; ++q)
        if (objects[q] != 0)
            rows << objects[q];

    for (int k = 1; k <= 16; ++k) {
        const bool shown = k <= rows.size();
        QList<QWidget *> row{c.widget(S("LabelOb"), k), c.widget(S("WordOb"), k),
                             c.widget(S("Line"), k), c.widget(S("Password"), k)};
        for (const char *kind : {"vz", "sn", "st", "start", "stop"})
            row << c.widget(S(kind), k);
        for (int cmd = 6; cmd <= 8; ++cmd)
            row << c.widget(Controls::name(S("cmnd"), k, cmd));
        if (shown) {
            const int o = rows[k - 1];
            c.label(S("LabelOb"), k)->setCaption(QString::number(o));
            c.edit(S("Password"), k)->setText(image::passwordDigits(passwordRow(o)));
        }
        for (QWidget *w : row)
            w->setVisible(shown);
    }

    const int p = tagOf(sender);
    if (p >= 1 && p <= 16)
        RzdNmbChange(c.combo(S("RzdNmb"), p));
}

void FormBase::ObjNmbCl(QWidget *sender) {
    auto *list = qobject_cast<ComboBox *>(sender);
    const int p = tagOf(sender);
    if (!list || p < 1 || p > 16)
        return;
    if (list->itemIndex() > 0) {
        for (int r = 1; r <= 8; ++r)
            m_controls.check(S("rzd"), r, p)->setEnabled(true);
    } else if (DeviceModel == DeviceModel::Q71) {
        list->setItemIndex(1); // a partition of the telephone-line model always has an object
    } else {
        for (int r = 1; r <= 8; ++r) {
            CheckBox *b = m_controls.check(S("rzd"), r, p);
            b->setEnabled(false);
            b->setChecked(false);
        }
    }
}

// Within one object every partition keeps its own number: a number taken by another partition
// of the same object gives way to the lowest free one.
void FormBase::RzdNmbChange(QWidget *sender) {
    auto *list = qobject_cast<ComboBox *>(sender);
    const int p = tagOf(sender);
    if (!list || p < 1 || p > 16)
        return;
    const Controls &c = m_controls;
    const int n = image::partitionsInUse(WorkModeComboBox->itemIndex());
    const int object = c.combo(S("ObjNmb"), p)->itemIndex();
    std::array<bool, image::PartitionCount> taken{};
    for (int q = 1; q <= n; ++q) {
        ComboBox *number = c.combo(S("RzdNmb"), q);
        const int index = number->itemIndex();
        if (q != p && ownEnabled(number) && c.combo(S("ObjNmb"), q)->itemIndex() == object &&
            index >= 0 && index < 16)
            taken[std::size_t(index)] = true;
    }
    list->setItemIndex(image::freePartitionNumber(list->itemIndex(), taken));
}

void FormBase::DistanceControl(QWidget *sender) {
    const int p = tagOf(sender);
    if (p < 1 || p > 16)
        return;
    const Controls &c = m_controls;
    RzdNmbChange(c.combo(S("RzdNmb"), p));
    const int o = c.combo(S("ObjNmb"), p)->itemIndex();
    if (o > 0) {
        c.label(S("LabelOb"), p)->setCaption(QString::number(o));
        c.widget(S("LabelOb"), p)->show();
        c.widget(S("WordOb"), p)->show();
        for (int k = 1; k <= 16; ++k) {
            for (const char *kind : {"vz", "sn", "st", "start", "stop"})
                c.widget(S(kind), k)->show();
            c.widget(S("vz"), k)->setEnabled(true);
        }
        for (int cmd = 6; cmd <= 8; ++cmd)
            c.widget(Controls::name(S("cmnd"), p, cmd))->show();
        Edit *password = c.edit(S("Password"), p);
        password->setText(QString());
        const auto cells = passwordRow(o);
        if (cells[0] != 255)
            password->setText(image::passwordDigits(cells));
        password->show();
    } else {
        QList<QWidget *> row{c.widget(S("LabelOb"), p), c.widget(S("WordOb"), p)};
        for (const char *kind : {"vz", "sn", "st", "start", "stop"})
            row << c.widget(S(kind), p);
        for (int cmd = 6; cmd <= 8; ++cmd)
            row << c.widget(Controls::name(S("cmnd"), p, cmd));
        for (QWidget *w : row)
            w->hide();
    }
}

void FormBase::PasswordChange(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    const QString clean = digitsOnly(e->text());
    if (clean != e->text())
        e->setText(clean);
}

void FormBase::PasswordExit(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    const QString text = e->text();
    if (text.isEmpty())
        return;
    if (text.size() < 3) {
        e->setFocus();
        warn(1539);
    } else if (text.size() > 6) {
        warn(1540);
        e->setText(text.left(6));
        e->setFocus();
    }
}

void FormBase::PasswordSave(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    const int k = tagOf(sender);
    if (!e || k < 1 || k > 16)
        return;
    QString text = e->text();
    if (!text.isEmpty()) {
        if (text.size() < 3) {
            e->setFocus();
            warn(1539);
        } else if (text.size() > 6) {
            warn(1540);
            text = text.left(6);
            e->setText(text);
        }
    }
    bool ok = false;
    const int object = m_controls.label(S("LabelOb"), k)->caption().toInt(&ok);
    if (!ok)
        return;
    // Cells the password does not reach are cleared, so no digit of an older password survives.
    const auto cells = image::passwordCells(digitsOnly(text));
    setPasswordRow(object, {cells[0], cells[1], cells[2]});
}

// A recipient row's status or relay permission is copied to the object rows showing the same
// object label as the recipient's row.
void FormBase::CommandRepeat(QWidget *sender) {
    auto *box = qobject_cast<CheckBox *>(sender);
    const int r = tagOf(sender);
    if (!box || r < 1 || r > 16)
        return;
    QString kind = box->objectName();
    kind.chop(2); // "st21" -> "st", "start25" -> "start"
    const QString label = m_controls.label(S("LabelOb"), r)->caption();
    for (int q = 1; q <= 16; ++q)
        if (m_controls.label(S("LabelOb"), q)->caption() == label)
            m_controls.check(kind, q)->setChecked(box->isChecked());
}

} // namespace q7x::pages
