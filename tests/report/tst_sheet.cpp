// The configuration sheet as a PDF file, read back as text: every caption of the catalogue is on
// it in the sheet's language, pages are numbered, and passwords and the PIN appear only when
// asked for.
#include "image/presets.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "report/sheet.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace q7x;

namespace {

const QString LibraryDir = QStringLiteral(Q7X_LANGUAGE_LIBRARY_DIR);

// The text of a PDF file in drawing order, as pdftotext gives it (pages end with a form feed).
QString pdfText(const QString &path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Table cells wrap their texts anywhere, so texts are compared without any white space.
QString bare(QString s) { return s.remove(QRegularExpression(QStringLiteral("\\s"))); }

struct Sheet {
    QString text;
    int pages = 0;
};

Sheet writeAndRead(const report::Configuration &c, const QString &language, bool passwords) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    report::SheetOptions o;
    o.language = language;
    o.fileName = QStringLiteral("/srv/site/branch-7.cfg");
    o.includePasswords = passwords;
    QString error;
    if (!report::writeSheetPdfInLanguage(path, c, o, LibraryDir, &error))
        qWarning("%s", qPrintable(error));
    Sheet out;
    out.text = pdfText(path);
    out.pages = int(out.text.count(QLatin1Char('\f')));
    return out;
}

template <class S>
void checkCaptions(const QList<image::CatalogueField<S>> &fields, const QString &language,
                   const Sheet &sheet) {
    const lang::WindowTexts texts = lang::WindowTexts::load(language, LibraryDir);
    const QString found = bare(sheet.text);
    for (const auto &f : fields)
        for (const QString &id : f.captions) {
            QVERIFY2(!texts.text(id).isEmpty(), qPrintable(id));
            QVERIFY2(found.contains(bare(texts.text(id))),
                     qPrintable(f.key + QLatin1Char(' ') + id));
        }
}

} // namespace

class TstSheet : public QObject {
    Q_OBJECT
  private slots:
    void presetsShowEveryCaptionOnNumberedPages_data();
    void presetsShowEveryCaptionOnNumberedPages();
    void secretsOnlyWhenAskedFor();
    void unwritableFileOrLanguageIsReported();
};

void TstSheet::presetsShowEveryCaptionOnNumberedPages_data() {
    QTest::addColumn<image::DeviceModel>("model");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("language");
    const QStringList languages = {lang::LangRussian, lang::LangEnglish, lang::LangTurkish};
    for (image::DeviceModel model : {image::DeviceModel::Q71, image::DeviceModel::Q72})
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("Q%d mode %d", modelCode(model), mode)
                << model << mode << languages[(mode + modelCode(model)) % 3];
}

void TstSheet::presetsShowEveryCaptionOnNumberedPages() {
    QFETCH(image::DeviceModel, model);
    QFETCH(int, mode);
    QFETCH(QString, language);
    const report::Configuration c =
        report::decodeConfiguration(model, image::presetImage(model, mode));
    const Sheet sheet = writeAndRead(c, language, false);
    QVERIFY(sheet.pages > 1);
    if (model == image::DeviceModel::Q71)
        checkCaptions(image::catalogueQ71(), language, sheet);
    else
        checkCaptions(image::catalogueQ72(), language, sheet);
    const QString bareText = bare(sheet.text);
    QVERIFY(bareText.contains(
        bare(lang::FormatM(1700, lang::M(model == image::DeviceModel::Q71 ? 1238 : 1237)))));
    QVERIFY(bareText.contains(QStringLiteral("branch-7.cfg")));
    // The first and the last page say which of so many they are.
    for (int page : {1, sheet.pages}) {
        QString pageOfPages = lang::M(1704);
        for (int value : {page, sheet.pages})
            pageOfPages.replace(pageOfPages.indexOf(QLatin1String("%d")), 2,
                                QString::number(value));
        const QString text = sheet.text.section(QLatin1Char('\f'), page - 1, page - 1);
        QVERIFY2(bare(text).contains(bare(pageOfPages)), qPrintable(pageOfPages));
    }
}

void TstSheet::secretsOnlyWhenAskedFor() {
    image::Q72Settings q72 =
        image::decodeQ72(image::presetImage(image::DeviceModel::Q72, 1)).settings;
    q72.pin = QStringLiteral("4711");
    q72.groups[0].password = image::passwordCells(QStringLiteral("918273"));
    image::Q71Settings q71 =
        image::decodeQ71(image::presetImage(image::DeviceModel::Q71, 1)).settings;
    q71.recipients[3].password = QStringLiteral("65432");
    const struct {
        report::Configuration c;
        QStringList secrets;
    } cases[] = {{q72, {QStringLiteral("4711"), QStringLiteral("918273")}},
                 {q71, {QStringLiteral("65432")}}};
    for (const auto &c : cases)
        for (bool asked : {false, true}) {
            const QString text = bare(writeAndRead(c.c, lang::LangEnglish, asked).text);
            QVERIFY(!text.isEmpty());
            for (const QString &secret : c.secrets)
                QVERIFY2(text.contains(secret) == asked, qPrintable(secret));
            QCOMPARE(text.contains(bare(lang::M(1703))), !asked);
        }
}

void TstSheet::unwritableFileOrLanguageIsReported() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/sheet.pdf"));
    QString error;
    const report::FieldWords words{lang::WindowTexts()};
    QVERIFY(!report::writeSheetPdf(path, image::Q71Settings{}, {}, words, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
    // A language without libraries gives no sheet with blank headings.
    const QString other = dir.filePath(QStringLiteral("sheet.pdf"));
    error.clear();
    report::SheetOptions o;
    o.language = QStringLiteral("Klingon");
    QVERIFY(!report::writeSheetPdfInLanguage(other, image::Q72Settings{}, o, LibraryDir, &error));
    QVERIFY(error.contains(o.language));
    QVERIFY(!QFile::exists(other));
}

QTEST_MAIN(TstSheet)
#include "tst_sheet.moc"
