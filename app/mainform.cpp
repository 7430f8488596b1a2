#include "app/mainform.h"
#include "pages/buildutil.h"

#include "image/formcontrols.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "pages/formbinding.h"
#include "pages/geometry.h"
#include "pages/tablegen.h"
#include "pages/translatewalk.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolTip>

namespace q7x::app {

using pages::CheckBox;
using pages::ComboBox;
using pages::Controls;

namespace {
using pages::build::S;
} // namespace

TMainForm::TMainForm(pages::Dialogs *dialogs, QWidget *parent) : FormBase(dialogs, parent) {
    setObjectName(S("MainForm"));
    setVclClass("TMainForm");
    setWindowTitle(S("Программа настройки приборов серии Варник-Q7х"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(pages::geometry::MainFormWidth, pages::geometry::MainFormHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    m_accessible = QAccessible::isActive();
    QAccessible::installActivationObserver(&m_accessibilityWatch);
    construct();
    FormCreate();
}

TMainForm::~TMainForm() {
    QAccessible::removeActivationObserver(&m_accessibilityWatch);
    shutDownLink();
    qApp->removeEventFilter(this);
}

void TMainForm::construct() {
    buildServiceMenu();
    // The version label shows nothing; its (empty) caption goes to the status bar.
    version->setCaption(QString());
    setStatusText(version->caption());
    // First port, with the link buttons disabled.
    PortNumber->setItemIndex(0);
    for (QWidget *b : {ConnectButton, CancelButton, ReadButton, WriteButton, RunModemButton})
        b->setEnabled(false);
    // Every settings control to its initial selection, and a demonstration of the GSM model.
    runRules([](image::Form &f, image::FormEffects &fx) { image::constructForm(f, fx); });
    // The link-open flags of the port and the converter start set.
    PortOk = true;
    UsbOk = true;
    // The version caption in the status bar again; the factory preset loaded above replaced it.
    setStatusText(version->caption());
}

void TMainForm::FormCreate() {
    FormShown = false;
    Interactive = true;
    Memo1->clear();
    mainPage().Label520->setCursor(Qt::PointingHandCursor);
    mainPage().Label521->setCursor(Qt::PointingHandCursor);
    mainPage().Label520->setCaption(S(SiteLabel));
    mainPage().Label521->setCaption(S(MailLabel));

    TranslateWindow();
    m_textsTranslated = true;
    buildHints(this);

    // Hints: shown 200 ms after the mouse stops, for 30 s, on a lime background. The wake-up
    // delay is an application-wide style setting made at program start.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0x00, 0xFF, 0x00));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);

    // The pause intervals, and every recipient in the dial group of its own number for good.
    runRules([](image::Form &f, image::FormEffects &fx) { image::createForm(f, fx); });
    fixOwnDialGroups();
    m_created = true;

    LoadLogo();
    SelectLang->setText(lang::GetLanguage());

    COM->onClick = [this](QWidget *s) { COMClick(s); };
    USB->onClick = [this](QWidget *s) { USBClick(s); };
    USB->setChecked(true);

    BitBtn1->onClick = [this](QWidget *s) { BitBtn1Click(s); };
    mainPage().Image2->onClick = [this](QWidget *s) { Image2Click(s); };
    mainPage().Label520->onClick = [this](QWidget *s) { Label520Click(s); };
    mainPage().Label521->onClick = [this](QWidget *s) { Label521Click(s); };
    SelectLang->onChange = [this](QWidget *s) { SelectLangSelect(s); };
    GenTableButton->onClick = [this](QWidget *s) { GenTableButtonClick(s); };
    SaveButton->onClick = [this](QWidget *s) { SaveButtonClick(s); };
    LoadButton->onClick = [this](QWidget *s) { LoadButtonClick(s); };
    ConnectButton->onClick = [this](QWidget *s) { ConnectButtonClick(s); };
    CancelButton->onClick = [this](QWidget *s) { CanlButtonClick(s); };
    ReadButton->onClick = [this](QWidget *s) { ReadButtonClick(s); };
    WriteButton->onClick = [this](QWidget *s) { WriteButtonClick(s); };
    RunModemButton->onClick = [this](QWidget *s) { RunModemButtonClick(s); };

    // The window sees every key before the focused control does.
    qApp->installEventFilter(this);
}

void TMainForm::fixOwnDialGroups() {
    for (int g = 1; g <= 8; ++g)
        if (QWidget *box = controls().existing(Controls::name(S("gr"), g, g)))
            box->setEnabled(false);
}

void TMainForm::translatePage(pages::TabSheet *sheet) {
    if (m_windowTexts)
        pages::TranslateByIdentifier(sheet, objectName(), *m_windowTexts);
}

// A page built after the start-up gets what the start-up gave the controls it holds.
void TMainForm::pageAdded(int page) {
    if (!m_created)
        return;
    if (page == pages::PageRecipients)
        fixOwnDialGroups();
    buildHints(PageControl1->sheet(page));
    if (m_accessible)
        nameControls(form(), false, PageControl1->sheet(page));
}

void TMainForm::buildHints(QWidget *root) {
    const Controls &c = controls();
    using lang::M;
    const QString nl = QStringLiteral("\n");
    auto join = [&](std::initializer_list<int> numbers) {
        QStringList parts;
        for (int n : numbers)
            parts << M(n);
        return parts.join(nl);
    };
    auto setHint = [](QWidget *w, const QString &hint) {
        w->setToolTip(hint);
        w->setStatusTip(hint);
    };
    const QString waitHint = join({1552, 1553, 1554});
    const QString lineHint = join({1555, 1556, 1557, 1558, 1559, 1560, 1561}) + nl +
                             QStringLiteral("  ") + nl + join({1562, 1563, 1564, 1565});
    const QString phoneHint = join({1572, 1573, 1574, 1575}) + nl + S("+79031234567");
    const QString confirmHint = join({1576, 1577});
    // By image::ControlHint.
    const QString *const hints[] = {nullptr, &waitHint, &lineHint, &phoneHint, &confirmHint};
    for (const image::ValueControl &vc : image::valueControls())
        if (const QString *hint = hints[int(vc.hint)])
            if (QWidget *w = c.existing(vc.name); w && root->isAncestorOf(w))
                setHint(w, *hint);
    if (root == this) {
        setHint(mainPage().Image2, M(1142));
        mainPage().Image2->setCursor(Qt::PointingHandCursor);
    }
    // Every hint of the window stays up for 30 s, those given when the pages were built too.
    for (QWidget *w : root->findChildren<QWidget *>())
        if (!w->toolTip().isEmpty())
            w->setToolTipDuration(30000);
}

// The application owns one form, this window.
void TMainForm::TranslateWindow() {
    m_windowTexts = pages::TranslateWindowByIdentifier(this, [this] { buildAllPages(); });
    windowTranslated(m_windowTexts ? &*m_windowTexts : nullptr);
}

void TMainForm::LoadLogo() { pages::LoadLogo(mainPage().Image2); }

void TMainForm::showEvent(QShowEvent *e) {
    FormBase::showEvent(e);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        FormShow();
    }
}

// The window is shown: the SMS-Blitz notification type only in the Russian interface.
void TMainForm::FormShow() {
    runRules([](image::Form &f, image::FormEffects &fx) { image::showFirst(f, fx); });
}

bool TMainForm::FormKeyDown(int key) {
    if (key == Qt::Key_F5) {
        for (QWidget *w : {static_cast<QWidget *>(Memo2), static_cast<QWidget *>(Memo3),
                           static_cast<QWidget *>(GenTableButton)})
            w->setVisible(w->isHidden());
        return true;
    }
    if (key == Qt::Key_F3) {
        Memo2->setVisible(Memo1->isHidden());
        return true;
    }
    return false;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *e) {
    if (e->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && (w == this || isAncestorOf(w)) && w->window() == this)
            if (FormKeyDown(static_cast<QKeyEvent *>(e)->key()))
                return true;
    }
    return FormBase::eventFilter(watched, e);
}

bool TMainForm::event(QEvent *e) {
    if (e->type() == QEvent::StatusTip) {
        ShowLongHint(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return FormBase::event(e);
}

void TMainForm::ShowLongHint(const QString &hint) { mainPage().Label267->setCaption(hint); }

void TMainForm::BitBtn1Click(QWidget *) {
    QString file;
    lang::GetHelpFileName(file);
    const QString path = lang::DataFilePath(QStringLiteral("help/") + file);
    // A failing shell open (no viewer, no file) is not reported.
    dialogs().openUrl(QUrl::fromLocalFile(path));
}

void TMainForm::Image2Click(QWidget *) { dialogs().openUrl(QUrl(S(SiteAddress))); }

void TMainForm::Label520Click(QWidget *) {
    dialogs().openUrl(QUrl(S("http://") + mainPage().Label520->caption()));
}

void TMainForm::Label521Click(QWidget *) {
    dialogs().openUrl(
        QUrl(S("mailto:") + mainPage().Label521->caption() + S("?subject=Tarvo-Q7X")));
}

void TMainForm::SelectLangSelect(QWidget *) {
    const QString picked = SelectLang->itemIndex() >= 0
                               ? SelectLang->itemText(SelectLang->itemIndex())
                               : SelectLang->text();
    dialogs().message(lang::M(1527), lang::M(1099), pages::Dialogs::Icon::Warning);
    lang::SetLanguage(picked);
    close();
}

// Writes the translation table sources of the window's current texts into a folder the user
// picks. Existing files are kept as ".bak" copies when the user asks to save them.
void TMainForm::GenTableButtonClick(QWidget *) {
    const QString folder = dialogs().existingDirectory(S("GenTableButton"));
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    const QStringList files = {dir.filePath(pages::TableHeaderName(objectName())),
                               dir.filePath(pages::TableScriptName(objectName()))};
    if ((QFile::exists(files[0]) || QFile::exists(files[1])) &&
        dialogs().question(S("Do you want to save existing files?"), S("System message")))
        for (const QString &f : files)
            if (QFile::exists(f)) {
                QFile::remove(f + S(".bak"));
                QFile::rename(f, f + S(".bak"));
            }
    if (!pages::WriteTable(folder, objectName(), pages::GenerateTable({this})))
        dialogs().message(S("Cannot write the files into ") + folder, S("System message"),
                          pages::Dialogs::Icon::Error);
}

void TMainForm::USBClick(QWidget *) {
    if (USB->isChecked()) {
        USB->setChecked(true);
        PortNumber->setEnabled(false);
        COM->setCaptionColor(palette().color(QPalette::WindowText));
        USB->setCaptionColor(QColor(0xFF, 0, 0));
        COM->setChecked(false);
    } else {
        COM->setChecked(true);
    }
}

void TMainForm::COMClick(QWidget *) {
    if (COM->isChecked()) {
        USB->setChecked(false);
        PortNumber->setEnabled(true);
        COM->setCaptionColor(QColor(0xFF, 0, 0));
        USB->setCaptionColor(palette().color(QPalette::WindowText));
    } else {
        USB->setChecked(true);
        PortNumber->setEnabled(false);
        COM->setCaptionColor(palette().color(QPalette::WindowText));
        USB->setCaptionColor(QColor(0xFF, 0, 0));
    }
}

} // namespace q7x::app
