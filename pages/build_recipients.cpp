// Construction of the recipients page and its six inner pages.
#include "pages/buildutil.h"
#include "pages/windowpages.h"

#include <QStringListModel>

namespace q7x::pages {

using namespace build;

RecipientsPage::RecipientsPage(TabSheet *page, QStringListModel *objects) : m_objects(objects) {
    auto *g = grid(page, 2, 0, 2);

    // Column headings of the partitions page; an empty panel of the same place covers them
    // while another inner page is shown.
    Panel27 = new Panel(page, S("Panel27"));
    Panel27->setFixedHeight(30);
    auto *hh = hbox(Panel27, 2, 4);
    auto *objHead = caption(Panel27, S("Label98"), S("Условный № объекта"), 84, Qt::AlignCenter);
    auto *objRange = caption(Panel27, S("Label102"), S("(1-999)"), 0, Qt::AlignCenter);
    auto *rzdHead = caption(Panel27, S("Label99"), S("Условный № раздела"), 84, Qt::AlignCenter);
    auto *rzdRange = caption(Panel27, S("Label700"), S("(1-16)"), 0, Qt::AlignCenter);
    auto *gridHead = caption(Panel27, S("Label701"), S("Разделы/ШС"), 0, Qt::AlignCenter);
    hh->addSpacing(26);
    hh->addWidget(objHead);
    hh->addWidget(objRange);
    hh->addWidget(rzdHead);
    hh->addWidget(rzdRange);
    hh->addSpacing(40);
    hh->addWidget(gridHead);
    hh->addStretch();
    Panel28 = new Panel(page, S("Panel28"));
    Panel28->setFixedHeight(30);
    Panel28->hide();

    PageControl2 = new PageControl(page, S("PageControl2"));
    const struct {
        const char *name, *caption;
    } sheets[] = {{"TabSheet8", "Разделы/ШС"},       {"TabSheet9", "Типы событий"},
                  {"TabSheet10", "Типы оповещения"}, {"TabSheet11", "Коды цифрового формата"},
                  {"TabSheet12", "Группы дозвона"},  {"TabSheet14", "Коды оповещения SMS-Блиц"}};
    TabSheet *inner[6];
    for (int i = 0; i < 6; ++i)
        inner[i] = new TabSheet(PageControl2, S(sheets[i].name), S(sheets[i].caption));
    buildPartitionsSheet(inner[0]);
    buildEventsSheet(inner[1]);
    buildNotifySheet(inner[2]);
    buildDigitalSheet(inner[3]);
    buildDialGroupsSheet(inner[4]);
    buildBlitzSheet(inner[5]);

    g->addWidget(Panel27, 0, 0);
    g->addWidget(Panel28, 0, 0);
    g->addWidget(PageControl2, 1, 0);
    g->setRowStretch(1, 1);
}

void RecipientsPage::buildPartitionsSheet(TabSheet *page) {
    auto *g = grid(page, 4, 6, 0);
    auto *recipients = caption(page, S("Label702"), S("Получатели:"));
    g->addWidget(recipients, 0, 3, 1, 8, Qt::AlignLeft);
    for (int r = 1; r <= 8; ++r)
        g->addWidget(number(page, n("Label72", r), r), 1, 2 + r);
    for (int p = 1; p <= 16; ++p) {
        const int row = p + 1;
        g->addWidget(number(page, n("Label75", p), p), row, 0);
        auto *obj = combo(page, n("ObjNmb", p), {}, 80, p);
        obj->setSharedModel(m_objects);
        g->addWidget(obj, row, 1);
        g->addWidget(combo(page, n("RzdNmb", p), items::partitionNumbers(), 52, p), row, 2);
        for (int r = 1; r <= 8; ++r)
            g->addWidget(box(page, Controls::name(S("rzd"), r, p)), row, 2 + r, Qt::AlignCenter);
    }
    g->setColumnStretch(11, 1);
    g->setRowStretch(18, 1);
}

void RecipientsPage::buildEventsSheet(TabSheet *page) {
    const char *events[] = {"Тревога/ Пожар (разделы/ШС)",
                            "Вскрытие/   Восстан-е вскр. (разделы)",
                            "Снятие по коду/ ключу    (разделы/ШС)",
                            "Взятие по коду/ ключу (разделы/ШС)",
                            "Неисправн./ Восст. неиспр. (разделы/ШС)",
                            "Неисправн. РК/ Восстановл. РК (разделы)",
                            "Неиспр. питан./ Восст. питания (разделы)",
                            "Блокиров. РК/ Восстановл. РК (оборуд-е)",
                            "Вскрытие/ Восстан. вскр.(оборуд-е) ",
                            "Неисп. интерф./ Восст. неиспр. (оборуд-е)",
                            "Восстановление линии связи    GSM",
                            "Неиспр. питан./ Восст. питания (оборуд-е)"};
    auto *g = grid(page, 4, 8, 1);
    g->addWidget(caption(page, S("Label703"), S("Типы событий (12 типов)")), 0, 0, 2, 1);
    g->addWidget(caption(page, S("Label704"), S("Получатели:")), 0, 1, 1, 8, Qt::AlignLeft);
    for (int r = 1; r <= 8; ++r)
        g->addWidget(number(page, n("Label76", r), r), 1, r);
    g->addWidget(caption(page, S("Label705"), S("Срочность")), 1, 9);
    for (int t = 1; t <= 12; ++t) {
        const int row = t + 1;
        auto *l = new Label(page, n("Label77", t), S(events[t - 1]));
        l->setFixedHeight(RowHeight + 2);
        g->addWidget(l, row, 0);
        for (int r = 1; r <= 8; ++r) {
            auto *c = box(page, Controls::name(S("event"), r, t));
            if (t == 2)
                c->setEnabled(false); // the window's constructor enables all of them
            g->addWidget(c, row, r, Qt::AlignCenter);
        }
        g->addWidget(combo(page, n("urgent", t), items::urgency(), 100), row, 9);
    }
    g->setColumnStretch(10, 1);
    g->setRowStretch(14, 1);
}

void RecipientsPage::buildNotifySheet(TabSheet *page) {
    auto *g = grid(page, 4, 5, 2);
    constexpr int headerHeight = 74;
    auto head = [&](const char *name, const char *text, int width) {
        auto *l = caption(page, S(name), S(text), width, Qt::AlignHCenter | Qt::AlignBottom);
        l->setFixedHeight(headerHeight);
        return l;
    };
    g->addWidget(head("Label706", "Получатель", 80), 0, 0);
    g->addWidget(head("Label20", "Номер телефона получателя", 124), 0, 1);
    g->addWidget(head("Label219", "Объединять SMS", 82), 0, 2);
    auto *tries = new QWidget(page);
    auto *tv = vbox(tries, 0, 0);
    tv->addStretch();
    auto *triesCaption = caption(tries, S("Label707"), S("Количество попыток связи"), 80,
                                 Qt::AlignHCenter | Qt::AlignBottom);
    tv->addWidget(triesCaption);
    tv->addWidget(caption(tries, S("Label708"), S("(1-16)"), 80, Qt::AlignCenter));
    tries->setFixedHeight(headerHeight);
    g->addWidget(tries, 0, 3);
    auto *wait = new QWidget(page);
    auto *wv = vbox(wait, 0, 0);
    wv->addStretch();
    wv->addWidget(caption(wait, S("Label709"), S("Время ожидания снятия трубки при дозвоне"), 104,
                          Qt::AlignHCenter | Qt::AlignBottom));
    wv->addWidget(caption(wait, S("Label710"), S("(4с-64с)"), 104, Qt::AlignCenter));
    wait->setFixedHeight(headerHeight);
    g->addWidget(wait, 0, 4);
    g->addWidget(head("Label711", "Подтверждение приема сообщения", 100), 0, 5);
    messageTypeHeading = head("Label93", "Тип оповещения", 104);
    g->addWidget(messageTypeHeading, 0, 6, 1, 2, Qt::AlignLeft);

    // Line message types and the pause between series of attempts (telephone-line model).
    auto *panel33 = new Panel(page, S("Panel33"));
    auto *pg = grid(panel33, 0, 5, 2);
    auto *pause = new QWidget(panel33);
    auto *pv = vbox(pause, 0, 0);
    pv->addStretch();
    pv->addWidget(caption(pause, S("Label268"), S("Интервал между сериями попыток дозвона"), 130,
                          Qt::AlignHCenter | Qt::AlignBottom));
    pv->addWidget(caption(pause, S("Label712"), S("(0 сек-7мин 30 сек)"), 130, Qt::AlignCenter));
    pause->setFixedHeight(headerHeight);
    pg->addWidget(pause, 0, 1);
    pg->setColumnMinimumWidth(0, 92);

    for (int r = 1; r <= 8; ++r) {
        auto *rowLabel = number(page, n("Label78", r), r);
        g->addWidget(rowLabel, r, 0);
        auto *phone = new MaskEdit(page, n("PhoneNumber", r), S("+000000000000000;_"), r);
        phone->setFixedSize(124, RowHeight);
        phone->setVclMaxLength(16);
        auto *line = new Edit(page, n("LinePhone", r), QString(), r);
        line->setUpperCase(true);
        line->setFixedSize(124, RowHeight);
        g->addWidget(phone, r, 1);
        g->addWidget(line, r, 1);
        auto *sms = combo(page, n("SMS", r), items::yesNo(), 56, r);
        sms->setToolTip(S("Объединение сообщений в одно SMS"));
        sms->setStatusTip(sms->toolTip());
        g->addWidget(sms, r, 2, Qt::AlignCenter);
        g->addWidget(combo(page, n("DialTry", r), items::dialTry(), 56, r), r, 3, Qt::AlignCenter);
        g->addWidget(combo(page, n("WaitTime", r), items::waitTime(), 66, r), r, 4,
                     Qt::AlignCenter);
        g->addWidget(combo(page, n("ConfirmMes", r), items::yesNo(), 56, r), r, 5, Qt::AlignCenter);
        g->addWidget(combo(page, n("TypeMesgGSM", r), items::typeMesgGSM(), 104, r), r, 6);
        pg->addWidget(combo(panel33, n("TypeMesgLine", r), items::typeMesgLine(), 92, r), r, 0);
        pg->addWidget(combo(panel33, n("PauseInterval", r), items::pauseInterval(), 118, r), r, 1);
    }
    g->addWidget(panel33, 0, 7, 9, 1, Qt::AlignTop);
    g->setColumnStretch(8, 1);
    g->setRowStretch(9, 1);
}

void RecipientsPage::buildDigitalSheet(TabSheet *page) {
    const char *codes[] = {"Тревога (разделы)",
                           "Вскрытие/ Вскр. Восстан-е  (разделы)",
                           "Неиспр. питания/ Восст. питания (разделы)",
                           "Взятие/Снятие (разделы)",
                           "Неисправн. РК/ Восстановл. РК (разделы)",
                           "Неисправн./ Восст. Неиспр. (разделы)",
                           "Пожар (разделы)",
                           "Неисп. интерфейса/ Восст. Неиспр. (оборуд-е)",
                           "Блокирование РК/ Восстановл. РК (оборуд-е)",
                           "Вскрытие/ Вскр. Восстан-е (оборуд-е) ",
                           "Восстановление линии связи (оборуд-е)",
                           "Неиспр. питания/ Восст. питания (оборуд-е)",
                           "Тест канала связи (оборуд-е)"};
    auto *g = grid(page, 8, 8, 4);
    for (int k = 1; k <= 13; ++k) {
        const int row = (k - 1) % 7, col = (k - 1) / 7 * 2;
        g->addWidget(caption(page, n("Label79", k), S(codes[k - 1]), 290), row, col);
        auto *e = new Edit(page, n("Dig", k), QString(), k);
        e->setFixedSize(56, RowHeight);
        g->addWidget(e, row, col + 1);
    }
    g->setColumnStretch(4, 1);
    g->setRowStretch(7, 1);
}

void RecipientsPage::buildDialGroupsSheet(TabSheet *page) {
    auto *h = hbox(page, 4, 10);
    auto *groups = new QWidget(page);
    auto *g = grid(groups, 0, 2, 1);
    g->addWidget(caption(groups, S("Label713"), S("Номера получателей")), 0, 1, 1, 16,
                 Qt::AlignHCenter);
    for (int c = 1; c <= 16; ++c)
        g->addWidget(number(groups, n("Label80", c), c), 1, c);
    // Columns 9..16 carry check boxes that nothing reads; their names are as the window
    // has always had them.
    int extra = 10;
    for (int gr = 1; gr <= 8; ++gr) {
        auto *l = caption(groups, n("Label81", gr), S("Группа №") + QString::number(gr));
        l->setFixedHeight(RowHeight);
        g->addWidget(l, gr + 1, 0);
        for (int r = 1; r <= 8; ++r)
            g->addWidget(box(groups, Controls::name(S("gr"), gr, r)), gr + 1, r, Qt::AlignCenter);
        if (gr == 8)
            extra = 138;
        for (int c = 9; c <= 16; ++c)
            g->addWidget(box(groups, n("CheckBox", extra++)), gr + 1, c, Qt::AlignCenter);
    }
    auto *warning = caption(
        groups, S("Label714"),
        S("Внимание! При успешном дозвоне до получателей, отмеченных галкой по диагонали, другим "
          "получателям соответствующей группы сообщения доставляться не будут!"),
        470);
    QPalette p = warning->palette();
    p.setColor(QPalette::WindowText, QColor(190, 0, 0));
    warning->setPalette(p);
    g->addWidget(warning, 10, 0, 1, 17);
    g->setRowStretch(11, 1);

    // Object and partition numbers of partitions 9..16.
    auto *twins = new QWidget(page);
    auto *t = grid(twins, 0, 6, 1);
    t->addWidget(caption(twins, S("Label715"), S("Раздел"), 0, Qt::AlignCenter), 0, 0);
    t->addWidget(caption(twins, S("Label716"), S("Условный № объекта"), 84, Qt::AlignCenter), 0, 1);
    t->addWidget(caption(twins, S("Label717"), S("Условный № раздела"), 84, Qt::AlignCenter), 0, 2);
    for (int p9 = 9; p9 <= 16; ++p9) {
        const int row = p9 - 8;
        t->addWidget(number(twins, n("Label82", p9), p9), row, 0);
        auto *obj = combo(twins, n("ComboBox", 16 + p9), {}, 80, p9);
        obj->setSharedModel(m_objects);
        t->addWidget(obj, row, 1);
        t->addWidget(combo(twins, n("ComboBox", 2 + p9), items::partitionNumbers(), 52, p9), row,
                     2);
    }
    t->setRowStretch(9, 1);

    h->addWidget(groups);
    h->addWidget(twins);
    h->addStretch();
}

void RecipientsPage::buildBlitzSheet(TabSheet *page) {
    const char *events[] = {"Неисправность питания (оборудование)",
                            "Восстановление питания (оборудование)",
                            "Вскрытие (оборудование)",
                            "Восстановление вскрытия (оборудование)",
                            "Неисправность интерфейса - ЛР(оборудование)",
                            "Восстановление интерфейса - ЛР (оборудование)",
                            "Блокирование радиоканала (оборудование)",
                            "Восстановление радиоканала (оборудование)",
                            "Восстановление линии связи (GSM)",
                            "Включение питания GSM",
                            "Выключение питания GSM",
                            "Тест",
                            "Взят по коду или ключу ТМ (разделы/ШС)",
                            "Снят по коду или ключу ТМ (разделы/ШС)",
                            "Тревога (разделы/ШС)",
                            "Пожар (разделы/ШС)",
                            "Неисправность пож (разделы/ШС)",
                            "Восстановление неиспр. (для пож. разд. или ШС)",
                            "Неисправность питания (разделы)",
                            "Восстановление питания (разделы)",
                            "Вскрытие (разделы)",
                            "Восстановление вскрытия (разделы)",
                            "Неисправность радиоканала (разделы)",
                            "Восстановление радиоканала (разделы)"};
    auto *g = grid(page, 4, 6, 1);
    for (int half = 0; half < 2; ++half) {
        const int col = half * 4;
        auto *code = caption(page, n("Label83", half + 1), S("Код события      в тексте SMS"), 86,
                             Qt::AlignCenter);
        auto *voice = new QWidget(page);
        auto *vv = vbox(voice, 0, 0);
        vv->addWidget(caption(voice, n("Label84", half + 1), S("Речевое"), 0, Qt::AlignCenter));
        vv->addWidget(caption(voice, n("Label85", half + 1), S("оповещение"), 0, Qt::AlignCenter));
        g->addWidget(code, 0, col + 1);
        g->addWidget(voice, 0, col + 2);
    }
    for (int k = 1; k <= 24; ++k) {
        const int row = (k - 1) % 12 + 1, col = (k - 1) / 12 * 4;
        auto *l = caption(page, n("Label86", k), S(events[k - 1]), 236);
        g->addWidget(l, row, col);
        auto *e = new Edit(page, n("Edit", k), QString(), k);
        e->setVclMaxLength(4);
        e->setFixedSize(56, RowHeight);
        g->addWidget(e, row, col + 1, Qt::AlignCenter);
        g->addWidget(box(page, n("RO", k), k), row, col + 2, Qt::AlignCenter);
    }
    g->setColumnMinimumWidth(3, 14);
    g->setColumnStretch(7, 1);
    g->setRowStretch(13, 1);
}

} // namespace q7x::pages
