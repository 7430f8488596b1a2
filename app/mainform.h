#pragma once
// The application's one main window: start-up, first show, diagnostic keys, hints, help, links
// and the language selector, on top of the settings window of pages/.
#include "app/linkfactory.h"
#include "image/settings.h"
#include "lang/windowtexts.h"
#include "link/clockstamp.h"
#include "link/linkengine.h"
#include "link/usbdevice.h"
#include "link/windowport.h"
#include "pages/formbase.h"
#include "report/sheet.h"

#include <QAccessible>
#include <QDateTime>
#include <QPointer>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QPrinter;

namespace q7x::app {

using core::DeviceModel;

class CompareDialog;
class LinkWorker;

// The web site and support mail of the project, opened by the logo and the two link labels.
inline constexpr const char *SiteAddress = "https://www.q7xconf.example.org";
inline constexpr const char *SiteLabel = "www.q7xconf.example.org";
inline constexpr const char *MailLabel = "support@q7xconf.example.org";

// The language a write stamps into the image for an interface language name; none for a name
// other than Russian, English or Turkish.
std::optional<image::WriteLanguage> writeLanguage(const QString &languageName);

class TMainForm : public pages::FormBase {
    Q_OBJECT
  public:
    explicit TMainForm(pages::Dialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Link-open flags of the serial port and of the USB converter.
    bool PortOk = false;
    bool UsbOk = false;

    void FormCreate();
    void FormShow();
    // Returns true when the key was one of the diagnostic keys.
    bool FormKeyDown(int key);
    void ShowLongHint(const QString &hint);
    void BitBtn1Click(QWidget *sender);
    void Image2Click(QWidget *sender);
    void Label520Click(QWidget *sender);
    void Label521Click(QWidget *sender);
    void SelectLangSelect(QWidget *sender);
    void GenTableButtonClick(QWidget *sender);
    void COMClick(QWidget *sender);
    void USBClick(QWidget *sender);

    // Device commands (devicecommands.cpp).
    void ConnectButtonClick(QWidget *sender);
    void CanlButtonClick(QWidget *sender);
    void ReadButtonClick(QWidget *sender);
    void WriteButtonClick(QWidget *sender);
    void RunModemButtonClick(QWidget *sender);
    void StartSerialConnect();
    void OpenSerialPort();

    // Routines a link worker runs on the window thread while it waits.
    void ShowLinkStatus(link::LinkStatus status, int argument, link::LinkKind kind);
    void ShowModemStateText(int messageNumber);
    void ReportProgress(int percent);
    void SetLinkButtons(link::ButtonEvent event);
    void ShowLinkReady();
    link::ClockStamp TakeClockStamp();
    void ModelAdaptation(core::DeviceModel model);
    void ShowQ72Firmware(const QString &firmware);
    void ShowQ71Firmware(int number);
    void ShowModelLabel(core::DeviceModel model);
    void ShowDeviceClock(const link::DeviceClock &clock);
    void HandOverImage(core::DeviceModel model, const std::vector<std::uint8_t> &image);
    void CloseLink(link::LinkKind kind);

    // The read or write code of the current model, the open links and the current workers.
    link::LinkOperation PendingOperation = link::LinkOperation::Connect;
    LinkHandle PortHandle;
    // The open USB converter, shared with the USB worker; null while closed.
    link::UsbHandle UsbHandle;
    QPointer<LinkWorker> ComWorker;
    QPointer<LinkWorker> UsbWorker;
    // Where links come from (tests play a device in-process); the COM ports by default.
    void setLinkFactory(std::unique_ptr<LinkFactory> factory);
    // The PC clock TakeClockStamp reads; the system clock when unset.
    std::function<QDateTime()> pcClock;
    // Workers that have not ended yet (Cancel lets a worker wind down on its own).
    int liveWorkers() const;

    // Factory presets, configuration files (filecommands.cpp).
    void SaveButtonClick(QWidget *sender);
    void LoadButtonClick(QWidget *sender);

    // The service menu: comparison with a file or the device, the configuration sheet
    // (servicecommands.cpp).
    pages::Button *ServiceButton = nullptr;
    QAction *CompareFileItem = nullptr;
    QAction *CompareDeviceItem = nullptr;
    QAction *ReportItem = nullptr;
    QAction *PrintItem = nullptr;
    QAction *PasswordsItem = nullptr; // checked: the sheet shows passwords and the PIN
    void CompareFileItemClick(QWidget *sender);
    void CompareDeviceItemClick(QWidget *sender);
    void ReportItemClick(QWidget *sender);
    void PrintItemClick(QWidget *sender);
    // The open comparison, if any.
    CompareDialog *compareDialog() const;
    // Lets the user choose the printer; the system's print dialog when unset.
    std::function<bool(QPrinter &)> choosePrinter;
    // The configuration file last saved or loaded; empty after a read, a preset or at start.
    QString ConfigFileName;

    // The language layer: window texts and message table, and the logo.
    virtual void TranslateWindow();
    virtual void LoadLogo();

  protected:
    void translatePage(pages::TabSheet *sheet) override;
    void pageAdded(int page) override;
    void applyEffects(const image::FormEffects &fx) override;
    void formShown(const image::Form &before, const image::Form &after) override;
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

  private:
    void construct();
    // The hints of the controls below root (the window, or a page built later).
    void buildHints(QWidget *root);
    // Every recipient stays in the dial group of its own number.
    void fixOwnDialGroups();
    // The window's texts by identifier, for the pages built after the start-up translation.
    std::optional<lang::WindowTexts> m_windowTexts;
    bool m_created = false; // FormCreate has run
    // Gives every settings control the caption of its setting as its accessible name, and relates
    // the label that shows the caption to it (accessiblenames.cpp). `onlyGroups`: only the object
    // groups, whose captions carry the numbers of the objects they serve.
    // `within`, when given, limits the naming to the controls below it (a page just built).
    void nameControls(const image::Form &form, bool onlyGroups, const QWidget *within = nullptr);
    bool m_textsTranslated = false;
    // Names are given while an assistive tool is active (the platform says so at the start, or
    // tells the observer later): nobody hears them otherwise, and they cost a tenth of the
    // start-up's work and a megabyte of its memory.
    class AccessibilityWatch : public QAccessible::ActivationObserver {
      public:
        explicit AccessibilityWatch(TMainForm *window) : m_window(window) {}
        void accessibilityActiveChanged(bool active) override;

      private:
        TMainForm *m_window;
    };
    AccessibilityWatch m_accessibilityWatch{this};
    bool m_accessible = false;
    std::optional<core::DeviceModel> m_namedModel;
    std::vector<int> m_namedGroupObjects;
    void buildServiceMenu();
    // The open dialog's choice of a configuration file; empty when cancelled (filecommands.cpp).
    QString openConfigFileName();
    void showComparison(core::DeviceModel model, const image::ConfigImage &other,
                        const QString &fileName);
    // The window's configuration as a write would store it; nothing, after saying why, when a
    // value cannot be stored.
    std::optional<report::Configuration> sheetConfiguration();
    report::SheetOptions sheetOptions() const;
    QPointer<CompareDialog> m_compareDialog;
    // The read that Compare with device started: its image goes to a comparison.
    QPointer<LinkWorker> m_compareReader;
    bool m_firstShowDone = false;

    // Device link (devicecommands.cpp).
    LinkFactory &linkFactory();
    void OpenUsbDevice();
    void closeUsbDevice();
    // Connect's opening of the chosen link and start of the connect worker.
    void connectLink();
    void startWorker(link::LinkOperation operation, std::vector<std::uint8_t> image = {},
                     int startPauseMs = 0);
    void workerEnded(LinkWorker *worker);
    void finishEndedWorkers();
    void shutDownLink();
    std::unique_ptr<LinkFactory> m_linkFactory;
    std::vector<QPointer<LinkWorker>> m_workers;
    // Connect was pressed while a cancelled worker still held the link.
    bool m_connectWaiting = false;
    // What FT_Open said when the converter last failed to open.
    link::FtStatus m_usbOpenStatus = link::FtOk;
    std::shared_ptr<std::atomic<bool>> m_closing = std::make_shared<std::atomic<bool>>(false);
};

} // namespace q7x::app
