#pragma once
// The parts of the settings window: the frame around the pages and the seven pages. Each part
// builds its controls and holds as members those that the window's code reaches by pointer; the
// settings controls are reached through the catalogue's control names (image/formcontrols.h). The
// frame and the first page are built with the window, every other page when it is first shown
// (FormBase::buildPage).
#include "pages/controls.h"

#include <array>
#include <functional>

class QStringListModel;

namespace q7x::pages {

// The frame: the page control and its seven tab sheets, tool mode, link, device and file
// commands, language, progress and status, and the diagnostic lists kept on the first page.
struct Frame {
    // Builds the frame into `window`. `firstPage` builds the first page's controls, which come
    // before the diagnostic lists in the window's order of controls (the translation walk numbers
    // texts in that order).
    void buildFrame(QWidget *window, const std::function<void(TabSheet *)> &firstPage);

    PageControl *PageControl1 = nullptr;
    std::array<TabSheet *, 7> sheets{};
    GroupBox *modeGroup = nullptr; // the tool mode's group, which also holds the service button
    ComboBox *Mode = nullptr;
    ComboBox *PortNumber = nullptr;
    RadioButton *COM = nullptr;
    RadioButton *USB = nullptr;
    Button *ConnectButton = nullptr;
    Button *CancelButton = nullptr;
    Button *ReadButton = nullptr;
    Button *WriteButton = nullptr;
    Button *SaveButton = nullptr;
    Button *LoadButton = nullptr;
    Button *DefaultButton = nullptr;
    Button *RunModemButton = nullptr;
    Button *BitBtn1 = nullptr;
    ComboBox *SelectLang = nullptr;
    ProgressBar *pb1 = nullptr;
    StatusBar *StatusBar1 = nullptr;
    Label *version = nullptr;
    // Hidden until the diagnostic keys show them: the link dump, the encoded and the decoded
    // image, and the button that writes the translation tables.
    Memo *Memo1 = nullptr;
    Memo *Memo2 = nullptr;
    Memo *Memo3 = nullptr;
    Button *GenTableButton = nullptr;

  private:
    void buildCommands(QWidget *frame);
};

// "Главная": work mode and the special settings, what the connected device said, the links.
struct MainPage {
    explicit MainPage(TabSheet *page);
    ComboBox *WorkModeComboBox = nullptr;
    Label *VersionLabel = nullptr; // firmware of the connected device
    Label *Label1 = nullptr;       // its model
    Label *TimeLabel = nullptr;    // its clock
    Label *DateLabel = nullptr;
    Image *Image2 = nullptr;   // the logo, a link to the web site
    Label *Label520 = nullptr; // the web site link
    Label *Label521 = nullptr; // the support mail link
    Label *Label267 = nullptr; // the current hint, never shown
};

// "Получатели сообщений": the six inner pages of the recipients and their column headings.
class RecipientsPage {
  public:
    // `objects`: the shared list of object numbers 1..999 of the partitions' object lists.
    RecipientsPage(TabSheet *page, QStringListModel *objects);
    PageControl *PageControl2 = nullptr;
    Panel *Panel27 = nullptr;            // the partitions' column headings
    Panel *Panel28 = nullptr;            // covers them while another inner page is shown
    Label *messageTypeHeading = nullptr; // the rules move it for a connected device

  private:
    void buildPartitionsSheet(TabSheet *page);
    void buildEventsSheet(TabSheet *page);
    void buildNotifySheet(TabSheet *page);
    void buildDigitalSheet(TabSheet *page);
    void buildDialGroupsSheet(TabSheet *page);
    void buildBlitzSheet(TabSheet *page);
    QStringListModel *m_objects;
};

// "Присвоение названия для SMS": the names of partitions and loops in the SMS.
struct NamesPage {
    explicit NamesPage(TabSheet *page);
    RadioGroup *LangChange = nullptr; // the language of the names
};

// "Периодичность передачи".
struct PeriodPage {
    explicit PeriodPage(TabSheet *page);
};

// "Дистанционное управление".
struct RemotePage {
    explicit RemotePage(TabSheet *page);
};

// "Тональное оповещение".
struct TonePage {
    explicit TonePage(TabSheet *page);
    // The symbol each of the first three symbol lists of alarm, arming and disarming stands for.
    std::array<std::array<Label *, 3>, 3> symbolPreviews{};
};

// "Режимы реле".
struct RelayPage {
    explicit RelayPage(TabSheet *page);
    ComboBox *ReleControl1 = nullptr;    // what controls the relay
    RadioGroup *ReleWorkMode1 = nullptr; // the relay's working mode
};

} // namespace q7x::pages
