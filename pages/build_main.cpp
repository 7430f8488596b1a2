// Construction of the window frame (link, device and file commands) and the main page.
#include "pages/buildutil.h"
#include "pages/windowpages.h"

#include <QStringListModel>

namespace q7x::pages {

using namespace build;

void Frame::buildFrame(QWidget *window, const std::function<void(TabSheet *)> &firstPage) {
    auto *root = vbox(window, 2, 2);

    // Frame controls first: they come first in the window's definition.
    auto *frame = new QWidget(window);
    buildCommands(frame);

    PageControl1 = new PageControl(window, S("PageControl1"));
    const char *captions[] = {"Главная",
                              "Получатели сообщений",
                              "Присвоение названия для SMS",
                              "Периодичность передачи",
                              "Дистанционное управление",
                              "Тональное оповещение",
                              "Режимы реле"};
    for (int i = 0; i < 7; ++i)
        sheets[std::size_t(i)] =
            new TabSheet(PageControl1, Controls::name(S("TabSheet"), i + 1), S(captions[i]));
    // The first page now; the others when they are first shown.
    firstPage(sheets[0]);

    // Hidden holders on the main page: the link dump, the encoded and the decoded image.
    Memo1 = new Memo(sheets[0], S("Memo1"));
    Memo2 = new Memo(sheets[0], S("Memo2"));
    Memo3 = new Memo(sheets[0], S("Memo3"));
    int x = 520;
    for (Memo *m : {Memo1, Memo2, Memo3}) {
        m->setReadOnly(true);
        m->setGeometry(x, 4, 140, 250);
        m->hide();
        x += 145;
    }
    GenTableButton = new Button(sheets[0], S("GenTableButton"), S("GenTableButton"));
    GenTableButton->setGeometry(520, 260, 140, 24);
    GenTableButton->hide();

    version = new Label(frame, S("version"), S("Версия v2_0"));
    version->setGeometry(4, 0, 1, 1); // placed by the frame layout below
    qobject_cast<QGridLayout *>(frame->layout())->addWidget(version, 1, 6, Qt::AlignRight);

    pb1 = new ProgressBar(window, S("pb1"));
    pb1->setFixedHeight(12);
    StatusBar1 = new StatusBar(window, S("StatusBar1"));
    StatusBar1->setFixedHeight(20);

    root->addWidget(PageControl1, 1);
    root->addWidget(frame);
    root->addWidget(pb1);
    root->addWidget(StatusBar1);
}

void Frame::buildCommands(QWidget *frame) {
    auto *g = grid(frame, 0, 4, 0);

    modeGroup = new GroupBox(frame, S("GroupBox9"), S("Режим работы:"));
    Mode = combo(modeGroup, S("Mode"), items::mode(), 100);
    auto *mg = vbox(modeGroup, 4, 2);
    mg->addWidget(Mode);
    mg->addStretch();

    auto *linkGroup = new GroupBox(frame, S("GroupBox10"), S("Связь"));
    COM = new RadioButton(linkGroup, S("COM"), S("COM - порт"));
    USB = new RadioButton(linkGroup, S("USB"), S("USB - порт"));
    PortNumber = combo(linkGroup, S("PortNumber"), items::portNumber(), 72);
    ConnectButton = new Button(linkGroup, S("ConnectButton"), S("Установить "));
    CancelButton = new Button(linkGroup, S("CancelButton"), S("Разорвать "));
    auto *lg = grid(linkGroup, 4, 4, 2);
    lg->addWidget(COM, 0, 0);
    lg->addWidget(USB, 1, 0);
    lg->addWidget(PortNumber, 0, 1);
    lg->addWidget(ConnectButton, 0, 2);
    lg->addWidget(CancelButton, 1, 2);

    auto *deviceGroup = new GroupBox(frame, S("GroupBox11"), S("Прибор"));
    ReadButton = new Button(deviceGroup, S("ReadButton"), S("Считать"));
    WriteButton = new Button(deviceGroup, S("WriteButton"), S("Записать "));
    auto *dg = vbox(deviceGroup, 4, 2);
    dg->addWidget(ReadButton);
    dg->addWidget(WriteButton);

    auto *fileGroup = new GroupBox(frame, S("GroupBox12"), S("Файл"));
    SaveButton = new Button(fileGroup, S("SaveButton"), S("Сохранить"));
    LoadButton = new Button(fileGroup, S("LoadButton"), S("Загрузить"));
    auto *fg = vbox(fileGroup, 4, 2);
    fg->addWidget(SaveButton);
    fg->addWidget(LoadButton);

    DefaultButton = new Button(frame, S("DefaultButton"), S("Завод. настройки"));
    RunModemButton = new Button(frame, S("RunModemButton"), S("Запуск модема"));
    RunModemButton->setEnabled(false);
    BitBtn1 = new Button(frame, S("BitBtn1"), S("Help  "), "TBitBtn");
    SelectLang = new ComboBox(frame, S("SelectLang"), items::languages());
    SelectLang->setEditable(true);
    SelectLang->lineEdit()->setReadOnly(true);
    SelectLang->setChoiceInListOnly(); // a choice closes the program
    SelectLang->setFixedWidth(90);

    for (Button *b : {ConnectButton, CancelButton, ReadButton, WriteButton, SaveButton, LoadButton,
                      DefaultButton, RunModemButton, BitBtn1})
        b->setFixedHeight(24);

    g->addWidget(modeGroup, 0, 0, 2, 1);
    g->addWidget(linkGroup, 0, 1, 2, 1);
    g->addWidget(deviceGroup, 0, 2, 2, 1);
    g->addWidget(fileGroup, 0, 3, 2, 1);
    g->addWidget(DefaultButton, 0, 4);
    g->addWidget(RunModemButton, 1, 4);
    g->addWidget(BitBtn1, 0, 5);
    g->addWidget(SelectLang, 1, 5);
    g->setColumnStretch(6, 1);
}

MainPage::MainPage(TabSheet *page) {
    auto *h = hbox(page, 4, 6);

    // Basic settings.
    auto *basic = new GroupBox(page, S("GroupBox1"), S("Основные настройки:"));
    auto *bg = grid(basic, 6, 6, 3);
    struct Row {
        const char *label, *caption, *combo;
        QStringList items;
    };
    const Row basicRows[] = {
        {"Label2", "Режим работы коммуникатора", "WorkModeComboBox", items::workMode()},
        {"Label7", "Режим входа 1", "Input1", items::input()},
        {"Label50", "Режим входа 2", "Input2", items::input()},
        {"Label600", "Архив событий", "CmB_EventsArchive", items::eventsArchive()},
        {"Label52", "Режим входа управления", "ControlInput", items::controlInput()},
        {"Label53", "Проверка связи с управляющим устройством", "CheckConnectCD",
         items::checkConnectCD()},
        {"Label601", "Выбор номера для дозвона", "NextDial", items::nextDial()},
        {"Label602", "Пауза между фразами", "PhrasePause", items::phrasePause()},
        {"Label40", "Скорость по линии расширения", "SpeedLine", items::speedLine()},
    };
    int r = 0;
    QHash<QString, QWidget *> made;
    for (const Row &row : basicRows) {
        auto *l = caption(basic, S(row.label), S(row.caption), 160);
        auto *c = combo(basic, S(row.combo), row.items, 182);
        bg->addWidget(l, r, 0);
        bg->addWidget(c, r, 1);
        made.insert(l->objectName(), l);
        made.insert(c->objectName(), c);
        ++r;
    }
    bg->setRowStretch(r, 1);
    made[S("Input1")]->setEnabled(false);
    made[S("Input2")]->setEnabled(false);
    made[S("ControlInput")]->hide();
    made[S("Label52")]->hide();
    WorkModeComboBox = qobject_cast<ComboBox *>(made[S("WorkModeComboBox")]);

    auto *right = new QWidget(page);
    auto *rv = vbox(right, 0, 4);

    // Special settings: the GSM panel and the telephone-line panel share one place; the work
    // mode rule shows the one that belongs to the model.
    auto *special = new GroupBox(right, S("GroupBox2"), S("Специальные настройки:"));
    auto *sv = vbox(special, 4, 0);
    auto *panel5 = new Panel(special, S("Panel5"));
    auto *g5 = grid(panel5, 2, 6, 3);
    g5->addWidget(caption(panel5, S("Label6"), S("Номер СЦ SMS"), 190), 0, 0);
    auto *smsPhone = new MaskEdit(panel5, S("SMSphone"), S("+000000000000000;_"));
    smsPhone->setFixedSize(150, RowHeight);
    smsPhone->setVclMaxLength(16);
    g5->addWidget(smsPhone, 0, 1);
    g5->addWidget(caption(panel5, S("Label5"), S("PIN-код "), 190), 1, 0);
    auto *pin = new MaskEdit(panel5, S("PinCode"), S("0000;_"));
    pin->setFixedSize(60, RowHeight);
    pin->setVclMaxLength(4);
    g5->addWidget(pin, 1, 1);
    g5->addWidget(caption(panel5, S("Label603"), S("Контроль отсутствия GSM канала не более"), 190),
                  2, 0);
    g5->addWidget(combo(panel5, S("GsmLostCombo"), items::gsmLost(), 100), 2, 1);
    g5->addWidget(caption(panel5, S("Label604"), S("Указывать в SMS объект №"), 190), 3, 0);
    g5->addWidget(combo(panel5, S("ZoneNumberCombo"), items::yesNoCapital(), 60), 3, 1);
    g5->addWidget(caption(panel5, S("Label114"), S("Сообщать о счете SIM карты "), 190), 4, 0);
    g5->addWidget(combo(panel5, S("SIMcountCombo"), items::simCount(), 120), 4, 1);
    g5->addWidget(caption(panel5, S("Label212"), S("Запрос состояния счета"), 190), 5, 0);
    auto *balance = new Edit(panel5, S("RequestBalance"), S("*102#"));
    balance->setFixedSize(120, RowHeight);
    g5->addWidget(balance, 5, 1);
    g5->setColumnStretch(2, 1);

    auto *panel7 = new Panel(special, S("Panel7"));
    auto *g7 = grid(panel7, 2, 6, 3);
    g7->addWidget(
        caption(panel7, S("Label605"), S("Длительность паузы при наборе (для символа P)"), 190), 0,
        0);
    g7->addWidget(combo(panel7, S("PauseDial"), items::pauseDial(), 80), 0, 1);
    g7->addWidget(caption(panel7, S("Label606"), S("Режим набора номера "), 190), 1, 0);
    g7->addWidget(combo(panel7, S("DialMode"), items::dialMode(), 100), 1, 1);
    g7->addWidget(caption(panel7, S("Label607"),
                          S("Контроль отсутствия тонального сигнала в телефонной линии не более"),
                          190),
                  2, 0);
    g7->addWidget(combo(panel7, S("LostLine"), items::lostLine(), 80), 2, 1);
    g7->addWidget(
        caption(panel7, S("Label608"), S("Задержка до снятия трубки при входящем звонке"), 190), 3,
        0);
    g7->addWidget(combo(panel7, S("PickUpDelay"), items::pickUpDelay(), 130), 3, 1);
    g7->setColumnStretch(2, 1);
    sv->addWidget(panel5);
    sv->addWidget(panel7);
    sv->addStretch();

    // Device information, shown once a device has answered.
    auto *info = new GroupBox(right, S("GroupBox5"), S("Прибор:"));
    auto *ig = grid(info, 6, 6, 2);
    VersionLabel = new Label(info, S("VersionLabel"), S("Версия ПО прибора:"));
    Label1 = new Label(info, S("Label1"), S("Тип прибора:"));
    auto *timeCaption = caption(info, S("Label51"), S("Время в модеме:"));
    TimeLabel = new Label(info, S("TimeLabel"), S("Время"));
    auto *dateCaption = caption(info, S("Label3"), S("Дата  в модеме:"));
    DateLabel = new Label(info, S("DateLabel"), S("Дата "));
    ig->addWidget(VersionLabel, 0, 0, 1, 2);
    ig->addWidget(Label1, 1, 0, 1, 2);
    ig->addWidget(timeCaption, 2, 0);
    ig->addWidget(TimeLabel, 2, 1);
    ig->addWidget(dateCaption, 3, 0);
    ig->addWidget(DateLabel, 3, 1);
    ig->setColumnStretch(1, 1);
    for (QWidget *w : {static_cast<QWidget *>(VersionLabel), static_cast<QWidget *>(Label1),
                       static_cast<QWidget *>(TimeLabel), static_cast<QWidget *>(DateLabel)})
        w->hide();

    // The maker's logo and links.
    auto *links = new QWidget(right);
    auto *lh = hbox(links, 2, 8);
    Image2 = new Image(links, S("Image2"));
    Image2->setFixedSize(120, 44);
    Image2->setFrameShape(QFrame::StyledPanel);
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setText(S("Q7x"));
    auto *lv = new QVBoxLayout;
    Label520 = new Label(links, S("Label520"), S("www.q7xconf.example.org"));
    Label521 = new Label(links, S("Label521"), S("support@q7xconf.example.org"));
    for (Label *l : {Label520, Label521}) {
        QFont f = l->font();
        f.setUnderline(true);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 200));
        l->setPalette(p);
    }
    lv->addWidget(Label520);
    lv->addWidget(Label521);
    lh->addWidget(Image2);
    lh->addLayout(lv);
    lh->addStretch();

    // The current hint, copied here by the hint handler; never shown.
    Label267 = new Label(right, S("Label267"), QString());
    Label267->hide();

    rv->addWidget(special, 1);
    rv->addWidget(info);
    rv->addWidget(links);

    h->addWidget(basic);
    h->addWidget(right, 1);
}

} // namespace q7x::pages
