// The service menu of the window: the window's configuration compared with a file or with what the
// device holds, and the configuration sheet as a PDF file or on a printer.
#include "app/comparedialog.h"
#include "app/linkworker.h"
#include "app/mainform.h"
#include "pages/buildutil.h"

#include "image/configfile.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "report/sheet.h"

#include <algorithm>

#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

namespace q7x::app {

using pages::Dialogs;

namespace {

using pages::build::S;

// Keeps a button under a list, as wide as the list, within the list's group.
class BelowList : public QObject {
  public:
    BelowList(QWidget *list, QWidget *button) : QObject(button), m_list(list), m_button(button) {
        list->installEventFilter(this);
        place();
    }

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize)
            place();
        return false;
    }

  private:
    void place() {
        const QRect list = m_list->geometry();
        const int top = list.bottom() + 4;
        const int room = m_button->parentWidget()->contentsRect().bottom() - top;
        m_button->setGeometry(list.x(), top, list.width(), std::clamp(room, 0, 24));
    }
    QWidget *m_list;
    QWidget *m_button;
};

// Captions and items in the interface language, from the language libraries.
report::FieldWords interfaceWords() {
    return report::FieldWords(lang::WindowTexts::load(lang::GetLanguage()));
}

} // namespace

void TMainForm::buildServiceMenu() {
    // Below the tool mode, in the room the group has there. The button stays out of the group's
    // layout, so the frame lays out as before and no control of the window moves.
    ServiceButton = new pages::Button(modeGroup, S("ServiceButton"), S("Сервис"));
    new BelowList(Mode, ServiceButton);
    auto *menu = new QMenu(ServiceButton);
    menu->setObjectName(S("ServiceMenu"));
    auto item = [&](const char *name, const char *caption, void (TMainForm::*click)(QWidget *)) {
        auto *a = new pages::MenuItem(menu, S(name), S(caption));
        menu->addAction(a);
        if (click)
            connect(a, &QAction::triggered, this, [this, click] { (this->*click)(ServiceButton); });
        return a;
    };
    CompareFileItem =
        item("CompareFileItem", "Сравнить с файлом…", &TMainForm::CompareFileItemClick);
    CompareDeviceItem =
        item("CompareDeviceItem", "Сравнить с прибором", &TMainForm::CompareDeviceItemClick);
    menu->addSeparator();
    ReportItem = item("ReportItem", "Отчёт в файл PDF…", &TMainForm::ReportItemClick);
    PrintItem = item("PrintItem", "Печать отчёта…", &TMainForm::PrintItemClick);
    PasswordsItem = item("PasswordsItem", "Пароли и PIN-код в отчёте", nullptr);
    PasswordsItem->setCheckable(true);
    // The device is compared only while it is connected and idle, when it could be read.
    CompareDeviceItem->setEnabled(false);
    connect(menu, &QMenu::aboutToShow, this,
            [this] { CompareDeviceItem->setEnabled(ReadButton->isEnabled()); });
    ServiceButton->setMenu(menu);
}

CompareDialog *TMainForm::compareDialog() const { return m_compareDialog; }

void TMainForm::CompareFileItemClick(QWidget *) {
    const QString path = openConfigFileName();
    if (path.isEmpty())
        return;
    const image::ConfigFileRead read = image::readConfigFile(path);
    if (read.model && *read.model != core::modelCode(DeviceModel)) {
        dialogs().message(lang::M(1718), QString(), Dialogs::Icon::None);
        return;
    }
    if (!read.image) {
        dialogs().message(read.error.message(), QString(), Dialogs::Icon::Error);
        return;
    }
    showComparison(DeviceModel, *read.image, path);
}

void TMainForm::CompareDeviceItemClick(QWidget *) {
    if (!ReadButton->isEnabled())
        return;
    ReadButtonClick(ReadButton);
    m_compareReader = USB->isChecked() ? UsbWorker : ComWorker;
}

void TMainForm::showComparison(core::DeviceModel model, const image::ConfigImage &other,
                               const QString &fileName) {
    if (m_compareDialog)
        m_compareDialog->close();
    if (model != DeviceModel) {
        dialogs().message(lang::M(1718), QString(), Dialogs::Icon::None);
        return;
    }
    const bool device = fileName.isEmpty();
    auto rows = [this, model, other, device] {
        const report::FieldWords words = interfaceWords();
        if (model != DeviceModel) { // the tool mode changed since
            report::DifferenceRow row;
            row.kind = report::DifferenceRow::Kind::Damaged;
            row.setting = lang::M(1718);
            return QList<report::DifferenceRow>{row};
        }
        if (model == DeviceModel::Q71)
            return report::differenceRows(image::q71Settings(form()), image::decodeQ71(other),
                                          words, device);
        return report::differenceRows(image::q72Settings(form()), image::decodeQ72(other), words,
                                      device);
    };
    const QString title =
        device ? lang::M(1712) : lang::FormatM(1711, QFileInfo(fileName).fileName());
    m_compareDialog = new CompareDialog(*this, title, lang::M(device ? 1709 : 1708), rows);
    m_compareDialog->show();
}

std::optional<report::Configuration> TMainForm::sheetConfiguration() {
    image::Encoded encoded;
    if (DeviceModel == DeviceModel::Q71) {
        image::Q71Settings s = image::q71Settings(form());
        image::clearPartitionsWithoutNumber(s);
        encoded = image::encodeQ71(s);
    } else {
        encoded = image::encodeQ72(image::q72Settings(form()));
    }
    // The sheet shows what a write would store; what cannot be stored is refused as Save does.
    if (!encoded.ok()) {
        dialogs().message(encoded.error, QString(), Dialogs::Icon::Error);
        return std::nullopt;
    }
    if (DeviceModel == DeviceModel::Q71)
        return image::decodeQ71(encoded.image).settings;
    return image::decodeQ72(encoded.image).settings;
}

report::SheetOptions TMainForm::sheetOptions() const {
    report::SheetOptions o;
    o.language = lang::GetLanguage();
    o.firmware =
        mainPage().VersionLabel->isHidden() ? QString() : mainPage().VersionLabel->caption();
    o.fileName = ConfigFileName;
    o.includePasswords = PasswordsItem->isChecked();
    return o;
}

void TMainForm::ReportItemClick(QWidget *) {
    const auto configuration = sheetConfiguration();
    if (!configuration)
        return;
    const QString proposed =
        (ConfigFileName.isEmpty() ? QStringLiteral("Q%1").arg(core::modelCode(DeviceModel))
                                  : QFileInfo(ConfigFileName).completeBaseName()) +
        QStringLiteral(".pdf");
    const QString path = dialogs().saveFileName(lang::M(1719), lang::M(1720), S("pdf"), proposed);
    if (path.isEmpty())
        return;
    QString error;
    if (!report::writeSheetPdf(path, *configuration, sheetOptions(), interfaceWords(), &error)) {
        dialogs().message(lang::FormatM(1717, path) + S("\n") + error, QString(),
                          Dialogs::Icon::Error);
        return;
    }
    setStatusText(lang::FormatM(1716, path));
}

void TMainForm::PrintItemClick(QWidget *) {
    const auto configuration = sheetConfiguration();
    if (!configuration)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(lang::FormatM(1700, report::modelName(*configuration)));
    const bool chosen = choosePrinter ? choosePrinter(printer)
                                      : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    if (!chosen)
        return;
    if (!report::paintSheet(printer, *configuration, sheetOptions(), interfaceWords()))
        dialogs().message(lang::FormatM(1717, printer.printerName()), QString(),
                          Dialogs::Icon::Error);
}

} // namespace q7x::app
