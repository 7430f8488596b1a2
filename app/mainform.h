#pragma once
// The application's one main window: start-up, first show, diagnostic keys, hints, help, links
// and the language selector, on top of the settings window of pages/.
#include "pages/formbase.h"

namespace q7x::app {

// The web site and support mail of the project, opened by the logo and the two link labels.
inline constexpr const char *SiteAddress = "https://www.q7xconf.example.org";
inline constexpr const char *SiteLabel = "www.q7xconf.example.org";
inline constexpr const char *MailLabel = "support@q7xconf.example.org";

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

    // Factory presets, configuration files.
    void DefaultButtonClick(QWidget *sender) override;
    void SaveButtonClick(QWidget *sender);
    void LoadButtonClick(QWidget *sender);

    // The language layer: window texts and message table, and the logo.
    virtual void TranslateWindow();
    virtual void LoadLogo();

  protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void showEvent(QShowEvent *e) override;

  private:
    void construct();
    void buildHints();
    bool m_firstShowDone = false;
};

} // namespace q7x::app
