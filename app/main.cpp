// Program entry: one main window and the message loop.
#include "app/mainform.h"
#include "lang/ini.h"
#include "lang/languagelibraries.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QProxyStyle>

#include <exception>

namespace {

// Hints appear 200 ms after the mouse comes to rest.
class HintStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 200;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    app.setStyle(new HintStyle);
    // An installed program: the desktop entry and icon of the installation name the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.q7xconf"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.q7xconf")));
    // An installed program starts the user's settings from the shipped defaults, so the user
    // finds a complete file to edit (the [Ports] section).
    q7x::lang::SeedIni();
    // Qt draws the buttons of message boxes itself; they follow the stored interface language.
    q7x::lang::InstallQtTranslation(q7x::lang::GetLanguage());
    try {
        q7x::app::TMainForm window;
        window.show();
        app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QString(), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
