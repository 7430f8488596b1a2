// Construction of the SMS names, periodicity, remote control, tone and relay pages.
#include "pages/buildutil.h"
#include "pages/windowpages.h"

namespace q7x::pages {

using namespace build;

namespace {
// A grid whose header row and body rows have fixed heights, so that neighbouring panels built
// the same way line up row by row.
QGridLayout *rowGrid(QWidget *w, int headerHeight, int rows) {
    auto *g = grid(w, 0, 4, 0);
    g->setRowMinimumHeight(0, headerHeight);
    for (int r = 1; r <= rows; ++r)
        g->setRowMinimumHeight(r, RowHeight + 1);
    g->setRowStretch(rows + 1, 1);
    return g;
}
} // namespace

NamesPage::NamesPage(TabSheet *page) {
    auto *g = grid(page, 6, 12, 4);
    LangChange = new RadioGroup(page, S("LangChange"), S("Язык названий"), items::nameLanguage());
    LangChange->hide();
    LangChange->setItemIndex(1);

    struct Family {
        const char *names, *users, *nameList, *ownName, *suffix;
        const char *userCaption;
    };
    const Family families[] = {
        {"GroupBox4", "GroupBox3", "NameRzd", "OwnName", "",
         "Пользовательское название №%1 (max.12 симв. )"},
        {"GroupBox8", "GroupBox6", "NameRzdE", "OwnNameE", "E", "User's name №%1 (max.12 simb. )"},
        {"GroupBox15", "GroupBox7", "NameRzdP", "OwnNameP", "P",
         "Polzovatelskoe nazvanie №%1 (max.12 simb. )"},
    };
    const QStringList lists[] = {items::partitionNamesRu(), items::partitionNamesEn(),
                                 items::partitionNamesTranslit()};
    for (int f = 0; f < 3; ++f) {
        const Family &fam = families[f];
        const QString sfx = S(fam.suffix);
        auto *names = new GroupBox(page, S(fam.names), S("Названия разделов в SMS"));
        auto *ng = grid(names, 6, 8, 0);
        // Column captions: partitions in the extended mode with 16 partitions, loops otherwise.
        auto *numHead = new QWidget(names);
        auto *nh = hbox(numHead, 0, 3);
        nh->addWidget(new Label(numHead, S("LabelNo") + sfx, S("№")));
        nh->addWidget(new Label(numHead, S("LabelShS") + sfx, S("ШС")));
        nh->addWidget(new Label(numHead, S("LabelRazdel") + sfx, S("раздела")));
        nh->addStretch();
        auto *nameHead = new QWidget(names);
        auto *mh = hbox(nameHead, 0, 0);
        mh->addWidget(
            new Label(nameHead, S("LabelNameRazdel") + sfx, S("Название охраняемого раздела")));
        mh->addWidget(new Label(nameHead, S("LabelNameShS") + sfx, S("Название охраняемого ШС")));
        mh->addStretch();
        ng->addWidget(numHead, 0, 0);
        ng->addWidget(nameHead, 0, 1);
        for (int p = 1; p <= 16; ++p) {
            ng->addWidget(number(names, S("LabelNm") + sfx + QString::number(p), p), p, 0);
            auto *c = combo(names, n(fam.nameList, p), lists[f], 250, p);
            c->setMaxVisibleItems(20);
            ng->addWidget(c, p, 1);
        }
        ng->setRowStretch(17, 1);

        auto *users = new GroupBox(page, S(fam.users), S("Пользовательские названия"));
        auto *uv = vbox(users, 6, 6);
        for (int k = 1; k <= 4; ++k) {
            auto *e = new LabeledEdit(users, n(fam.ownName, k), S(fam.userCaption).arg(k), k);
            e->setFixedWidth(300);
            e->hide();
            uv->addWidget(e);
        }
        uv->addStretch();
        g->addWidget(names, 0, 0);
        g->addWidget(users, 0, 1);
    }
    g->addWidget(LangChange, 1, 0);
    g->setColumnStretch(2, 1);
}

PeriodPage::PeriodPage(TabSheet *page) {
    auto *g = grid(page, 10, 14, 6);
    auto head = [&](const char *name, const char *text) {
        auto *l = caption(page, S(name), S(text));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    g->addWidget(head("Label400", "Тип извещения"), 0, 0);
    g->addWidget(head("Label401", "Периодичность передачи"), 0, 1);
    g->addWidget(head("Label402", "Задержка передачи"), 0, 2);
    const char *fixedRows[] = {"Тревога", "Взятие", "Снятие"};
    int label = 403;
    for (int r = 0; r < 3; ++r) {
        g->addWidget(caption(page, n("Label", label++), S(fixedRows[r])), r + 1, 0);
        g->addWidget(caption(page, n("Label", label++), S("Всегда")), r + 1, 1);
        g->addWidget(caption(page, n("Label", label++), S("0 секунд")), r + 1, 2);
    }
    g->addWidget(caption(page, S("Label412"), S("Тревога (по типу тревоги)")), 4, 0);
    g->addWidget(combo(page, S("DelayTypeAlarm"), items::delay(), 110), 4, 2);
    g->addWidget(caption(page, S("Label413"), S("Неисправность оборудования")), 5, 0);
    g->addWidget(combo(page, S("PeriodHardware"), items::period(), 110), 5, 1);
    g->addWidget(combo(page, S("DelayHardware"), items::delay(), 110), 5, 2);
    g->addWidget(caption(page, S("Label414"), S("Неисправность разделов")), 6, 0);
    g->addWidget(combo(page, S("PeriodRzd"), items::period(), 110), 6, 1);
    g->addWidget(combo(page, S("DelayRzd"), items::delay(), 110), 6, 2);
    g->addWidget(caption(page, S("Label112"), S("Тест канала связи")), 7, 0);
    g->addWidget(combo(page, S("TestLine"), items::testLine(), 110), 7, 1);
    auto *hidden = new CheckBox(page, S("CheckBox193"), S("CheckBox193"));
    hidden->hide();
    g->setColumnStretch(3, 1);
    g->setRowStretch(8, 1);
}

RemotePage::RemotePage(TabSheet *page) {
    auto *v = vbox(page, 6, 6);
    auto *rows = new QWidget(page);
    auto *h = hbox(rows, 0, 6);
    constexpr int headerHeight = 48;
    const char *commands[] = {"Взять на охрану(1)", "Снять с охраны(2)", "Запрос сост-я(3)",
                              "Реле/ старт (4)",    "Реле/ стоп (5)",    "Вкл./ опов. (6)",
                              "Выкл./ опов. (7)",   "Запрос счета (8)"};
    const char *kinds[] = {"vz", "sn", "st", "start", "stop"};
    auto commandHeads = [&](QWidget *panel, QGridLayout *pg, const char *prefix) {
        for (int c = 0; c < 8; ++c) {
            auto *l = caption(panel, n(prefix, c + 1), S(commands[c]), 62,
                              Qt::AlignHCenter | Qt::AlignBottom);
            l->setFixedHeight(headerHeight);
            pg->addWidget(l, 0, c);
        }
    };
    auto passwordHead = [&](QWidget *panel, QGridLayout *pg, const char *name, const char *name2) {
        auto *w = new QWidget(panel);
        auto *wv = vbox(w, 0, 0);
        wv->addStretch();
        wv->addWidget(caption(w, S(name), S("Пароль"), 0, Qt::AlignCenter));
        wv->addWidget(caption(w, S(name2), S("(3-6 цифр)"), 0, Qt::AlignCenter));
        w->setFixedHeight(headerHeight);
        pg->addWidget(w, 0, 0);
    };

    // Remote control per recipient (telephone-line model).
    auto *p32 = new Panel(rows, S("Panel32"));
    auto *g32 = rowGrid(p32, headerHeight, 8);
    auto *rh = caption(p32, S("Label460"), S("Получатель"), 0, Qt::AlignCenter | Qt::AlignBottom);
    rh->setFixedHeight(headerHeight);
    g32->addWidget(rh, 0, 0);
    for (int r = 1; r <= 8; ++r) {
        auto *l = caption(p32, n("Label46", 10 + r), S("Получатель №") + QString::number(r));
        l->setFixedHeight(RowHeight);
        g32->addWidget(l, r, 0);
    }
    auto *p31 = new Panel(rows, S("Panel31"));
    auto *g31 = rowGrid(p31, headerHeight, 8);
    passwordHead(p31, g31, "Label461", "Label462");
    for (int r = 1; r <= 8; ++r) {
        auto *e = new Edit(p31, n("Password", 20 + r), QString(), r);
        e->setVclMaxLength(6);
        e->setFixedSize(70, RowHeight);
        g31->addWidget(e, r, 0);
    }
    auto *p30 = new Panel(rows, S("Panel30"));
    auto *g30 = rowGrid(p30, headerHeight, 8);
    commandHeads(p30, g30, "Label47");
    int fixedBox = 82;
    for (int r = 1; r <= 8; ++r) {
        for (int c = 0; c < 5; ++c) {
            const int tag = c < 2 ? 9 : r;
            auto *b = box(p30, S(kinds[c]) + QString::number(20 + r), tag);
            if (c >= 3)
                b->setEnabled(false);
            g30->addWidget(b, r, c, Qt::AlignCenter);
        }
        if (r == 5)
            fixedBox = 95;
        for (int c = 5; c < 8; ++c) {
            auto *b = box(p30, n("CheckBox", fixedBox++));
            b->setChecked(true);
            b->setEnabled(false);
            g30->addWidget(b, r, c, Qt::AlignCenter);
        }
    }

    // Remote control per object (GSM model): one row per distinct object.
    auto *p4 = new Panel(rows, S("Panel4"));
    auto *g4 = rowGrid(p4, headerHeight, 16);
    auto *oh = caption(p4, S("Label463"), S("Объект"), 0, Qt::AlignCenter | Qt::AlignBottom);
    oh->setFixedHeight(headerHeight);
    g4->addWidget(oh, 0, 0, 1, 3);
    auto *p13 = new Panel(rows, S("Panel13"));
    auto *g13 = rowGrid(p13, headerHeight, 16);
    passwordHead(p13, g13, "Label81", "Label464");
    auto *p15 = new Panel(rows, S("Panel15"));
    auto *g15 = rowGrid(p15, headerHeight, 16);
    commandHeads(p15, g15, "Label48");
    for (int k = 1; k <= 16; ++k) {
        auto *word = new Label(p4, n("WordOb", k), S("Объект №"));
        auto *number = new Label(p4, n("LabelOb", k), QString::number(k));
        number->setFixedWidth(34);
        auto *line = new Bevel(p4, n("Line", k));
        line->setFixedWidth(16);
        g4->addWidget(word, k, 0);
        g4->addWidget(number, k, 1);
        g4->addWidget(line, k, 2);
        auto *pw = new Edit(p13, n("Password", k), QString(), k);
        pw->setVclMaxLength(6);
        pw->setFixedSize(70, RowHeight);
        g13->addWidget(pw, k, 0);
        QList<QWidget *> row{word, number, line, pw};
        for (int c = 0; c < 5; ++c) {
            auto *b = box(p15, S(kinds[c]) + QString::number(k), k);
            if (c >= 3)
                b->setEnabled(false);
            g15->addWidget(b, k, c, Qt::AlignCenter);
            row << b;
        }
        for (int c = 6; c <= 8; ++c) {
            auto *b = box(p15, Controls::name(S("cmnd"), k, c));
            b->setChecked(true);
            b->setEnabled(false);
            g15->addWidget(b, k, c - 1, Qt::AlignCenter);
            row << b;
        }
        for (QWidget *w : row)
            w->hide();
    }
    for (QWidget *w : {p32, p31, p30, p4, p13, p15})
        h->addWidget(w, 0, Qt::AlignTop);
    h->addStretch();

    auto *attention = new Panel(page, S("PanelAttention"));
    auto *av = vbox(attention, 4, 2);
    auto *a1 = new Label(attention, S("Label465"),
                         S("Внимание! Комбинация пароля из 3-х нулей - это отсутствие пароля! "));
    auto *a2 = new Label(attention, S("Label466"),
                         S("Комбинация из 4-х, 5-ти и 6-ти нулей допустима.   "));
    QPalette pal = a1->palette();
    pal.setColor(QPalette::WindowText, QColor(190, 0, 0));
    a1->setPalette(pal);
    a2->setPalette(pal);
    av->addWidget(a1);
    av->addWidget(a2);
    v->addWidget(rows, 1);
    v->addWidget(attention);
}

TonePage::TonePage(TabSheet *page) {
    auto *g = grid(page, 10, 10, 0);
    constexpr int headerHeight = 40;
    const char *heads[] = {"Событие", "1-й символ", "2-й символ", "3-й символ"};
    for (int c = 0; c < 4; ++c) {
        auto *l = caption(page, n("Label42", c), S(heads[c]), c == 0 ? 0 : 70,
                          Qt::AlignHCenter | Qt::AlignBottom);
        l->setFixedHeight(headerHeight);
        g->addWidget(l, 0, c);
    }
    auto *panel34 = new Panel(page, S("Panel34"));
    auto *pg = rowGrid(panel34, headerHeight, 3);
    auto *ph = caption(panel34, S("Label424"), S("Пауза"), 0, Qt::AlignHCenter | Qt::AlignBottom);
    ph->setFixedHeight(headerHeight);
    pg->addWidget(ph, 0, 0);
    auto *result = caption(page, S("Label425"), S("Получаемая комбинация"), 150,
                           Qt::AlignHCenter | Qt::AlignBottom);
    result->setFixedHeight(headerHeight);
    auto *listen = caption(page, S("Label426"), S("Прослушать комбинацию"), 110,
                           Qt::AlignHCenter | Qt::AlignBottom);
    listen->setFixedHeight(headerHeight);
    g->addWidget(result, 0, 5, 1, 3);
    g->addWidget(listen, 0, 8);

    const struct {
        const char *prefix, *marker, *event;
    } rows[] = {{"Alarm", "AlarmTone", "Тревога"},
                {"Arm", "ArmTone", "Взятие "},
                {"DisArm", "DisArmTone", "Снятие"}};
    for (int r = 0; r < 3; ++r) {
        const int row = r + 1;
        g->setRowMinimumHeight(row, RowHeight + 1);
        auto *marker = new CheckBox(page, S(rows[r].marker), S(rows[r].event));
        marker->setEnabled(false);
        g->addWidget(marker, row, 0);
        for (int s = 1; s <= 3; ++s)
            g->addWidget(combo(page, n(rows[r].prefix, s), items::toneSymbols(), 60), row, s,
                         Qt::AlignCenter);
        pg->addWidget(combo(panel34, n(rows[r].prefix, 4), items::tonePause(), 80), row, 0);
        for (int s = 1; s <= 3; ++s) {
            auto *l = new Label(page, S("Set") + S(rows[r].prefix) + QString::number(s), S("0"));
            symbolPreviews[std::size_t(r)][std::size_t(s - 1)] = l;
            l->setAlignment(Qt::AlignCenter);
            l->setFixedSize(36, RowHeight);
            l->setFrameShape(QFrame::StyledPanel);
            g->addWidget(l, row, 4 + s);
        }
        auto *listenButton = new Button(page, n("SoundTone", r + 1), S("ОК"));
        listenButton->setFixedSize(60, RowHeight + 1);
        if (r > 0) {
            listenButton->setToolTip(
                S("Прослушивание с помощью звкковой карты и внешних динамиков."));
            listenButton->setStatusTip(listenButton->toolTip());
        }
        g->addWidget(listenButton, row, 8, Qt::AlignCenter);
    }
    g->addWidget(panel34, 0, 4, 4, 1, Qt::AlignTop);
    auto *hidden = new CheckBox(page, S("CheckBox1"), S("CheckBox1"));
    hidden->hide();
    g->setColumnStretch(9, 1);
    g->setRowStretch(4, 1);
}

RelayPage::RelayPage(TabSheet *page) {
    auto *h = hbox(page, 8, 10);
    auto *left = new QWidget(page);
    auto *lv = vbox(left, 0, 8);
    auto *control = new QWidget(left);
    auto *ch = hbox(control, 0, 6);
    ch->addWidget(caption(control, S("Label430"), S("Управление реле")));
    ReleControl1 = combo(control, S("ReleControl1"), items::releControl(), 120);
    ch->addWidget(ReleControl1);
    ch->addStretch();
    ReleWorkMode1 =
        new RadioGroup(left, S("ReleWorkMode1"), S("Режим работы реле:"), items::releWorkMode());
    ReleWorkMode1->setItemIndex(6);
    auto *extra = new GroupBox(left, S("GroupBox16"), S("Дополнительно:"));
    auto *eg = grid(extra, 6, 8, 3);
    const struct {
        const char *label, *text, *combo;
        QStringList items;
    } timing[] = {{"Label431", "Размыкание на время", "TimeRzmk1", items::timeOpenClose()},
                  {"Label432", "Замыкание на время", "TimeZmk1", items::timeOpenClose()},
                  {"Label433", "Длительность извещения ", "TimePeriod1", items::timePeriod()},
                  {"Label434", "Инверсный режим", "InvRele1", items::invRele()}};
    for (int r = 0; r < 4; ++r) {
        eg->addWidget(caption(extra, S(timing[r].label), S(timing[r].text)), r, 0);
        eg->addWidget(combo(extra, S(timing[r].combo), timing[r].items, 100), r, 1);
    }
    lv->addWidget(control);
    lv->addWidget(ReleWorkMode1);
    lv->addWidget(extra);
    lv->addStretch();

    auto *right = new QWidget(page);
    auto *rv = vbox(right, 0, 8);
    auto *binding = new GroupBox(right, S("GroupBox13"), S("Привязка к разделам №:"));
    auto *bg = grid(binding, 6, 6, 0);
    for (int p = 1; p <= 16; ++p) {
        const int row = (p - 1) / 8 * 2, col = (p - 1) % 8;
        bg->addWidget(number(binding, n("Label49", p), p), row, col);
        bg->addWidget(box(binding, n("iz1", p)), row + 1, col, Qt::AlignCenter);
    }
    auto *events = new GroupBox(right, S("GroupBox14"), S("Обрабатываемые извещения:"));
    auto *evg = grid(events, 6, 6, 2);
    const struct {
        const char *box, *text;
    } notes[] = {{"AlarmEvent1", "Тревога/пожар (разделы)"},
                 {"BoxDamage1", "Вскрытие (разделы)"},
                 {"OnOffLine1", "Взятие по одному/Снятие по всем "},
                 {"OnOffAllLine1", "Взятие по всем/Снятие по одному"},
                 {"ErrorFire1", "Неисправность (разделы)"},
                 {"NoConnect1", "Неисправность РК (разделы)"},
                 {"ErrorPower1", "Неисправ. питания (разделы)"},
                 {"RadioChanBlck1", "Блокирование РК (оборуд-е)"},
                 {"DamageCD1", "Вскрытие (оборуд-е)"},
                 {"ErrorInterface1", "Неисправ. интерф. (оборуд-е)"},
                 {"NoLine1", "Неисп. линии связи (оборуд-е)"},
                 {"PowerCD1", "Неисправ. питания (оборуд-е)"}};
    for (int i = 0; i < 12; ++i) {
        const int row = i % 6, col = i / 6 * 2;
        evg->addWidget(box(events, S(notes[i].box)), row, col);
        evg->addWidget(caption(events, n("Label50", 10 + i), S(notes[i].text)), row, col + 1);
    }
    evg->setColumnStretch(1, 1);
    evg->setColumnStretch(3, 1);
    rv->addWidget(binding);
    rv->addWidget(events);
    rv->addStretch();

    h->addWidget(left);
    h->addWidget(right, 1);
}

} // namespace q7x::pages
