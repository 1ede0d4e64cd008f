#include "AboutForm.h"
#include "ProgramConstants.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

// Stands in for the browser and the mail program.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestAboutForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void windowFlagsAndModality();
    void texts_data();
    void texts();
    void noLabelShowsItsObjectName();
    void linkTargets_data();
    void linkTargets();
    void fonts_data();
    void fonts();
    void clickingLinkOpensConstant_data();
    void clickingLinkOpensConstant();
    void closeButtonCloses();

private:
    UrlCatcher m_catcher;
};

namespace
{

const char *const Schemes[] = {"http", "https", "mailto"};

QString label(const AboutForm &form, const char *name)
{
    const QLabel *widget = form.findChild<QLabel *>(QLatin1String(name));
    return widget == nullptr ? QStringLiteral("<no label %1>").arg(QLatin1String(name))
                             : widget->text();
}

} // namespace

void TestAboutForm::initTestCase()
{
    for (const char *scheme : Schemes)
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_catcher, "open");
}

void TestAboutForm::cleanupTestCase()
{
    for (const char *scheme : Schemes)
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestAboutForm::init()
{
    m_catcher.opened.clear();
}

void TestAboutForm::windowFlagsAndModality()
{
    AboutForm form;
    const Qt::WindowFlags flags = form.windowFlags();
    QCOMPARE(form.windowType(), Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Making the dialog modal must not widen the modality to the application.
    QVERIFY(form.isModal());
    QCOMPARE(form.windowModality(), Qt::WindowModal);
}

void TestAboutForm::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("name") << "lblName" << DisplayName + QStringLiteral("：V3.2.0");
    QTest::newRow("platform") << "lblPlatform" << QStringLiteral("适用系统：") + PlatformName;
    QTest::newRow("date") << "lblUpdateDate" << QStringLiteral("更新日期：2012-07-01");
    QTest::newRow("site") << "lblSite" << QStringLiteral("官方网站：") + SiteUrl;
    QTest::newRow("mail") << "lblMail" << QStringLiteral("电子邮箱：") + MailAddress;
}

void TestAboutForm::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);

    AboutForm form;
    QCOMPARE(label(form, name.toLatin1().constData()), expected);
}

void TestAboutForm::noLabelShowsItsObjectName()
{
    AboutForm form;
    const QList<QLabel *> labels = form.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 9);
    for (const QLabel *widget : labels) {
        QVERIFY2(!widget->text().trimmed().isEmpty(), qPrintable(widget->objectName()));
        QVERIFY2(!widget->text().contains(widget->objectName()), qPrintable(widget->text()));
    }
}

void TestAboutForm::linkTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("visible");

    QTest::newRow("site") << "lblGoSite" << SiteUrl << QStringLiteral("访问官方网站");
    QTest::newRow("mail") << "lblGoMail" << MailUrl << QStringLiteral("发送电子邮件");
}

void TestAboutForm::linkTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, url);
    QFETCH(QString, visible);

    AboutForm form;
    const QString html = label(form, name.toLatin1().constData());
    QTextDocument document;
    document.setHtml(html);
    QCOMPARE(document.toPlainText(), visible);
    const QTextCharFormat format = document.begin().begin().fragment().charFormat();
    QVERIFY(format.isAnchor());
    QCOMPARE(format.anchorHref(), url);
    QVERIFY(format.fontUnderline());
    QCOMPARE(format.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(format.fontPointSize(), 12.0);
}

void TestAboutForm::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pointSize");

    const char *const information[] = {"lblName",       "lblCopyright", "lblPlatform", "lblLicense",
                                       "lblUpdateDate", "lblSite",      "lblMail"};
    for (const char *name : information)
        QTest::newRow(name) << QString::fromLatin1(name) << 9;
    QTest::newRow("lblGoSite") << "lblGoSite" << 11;
    QTest::newRow("lblGoMail") << "lblGoMail" << 11;
}

// The main window hands the dialog the user's interface font; the links keep
// their own smaller, non-underlined font whatever that is.
void TestAboutForm::fonts()
{
    QFETCH(QString, name);
    QFETCH(int, pointSize);

    AboutForm form;
    QCOMPARE(form.font().pointSize(), 12);
    QFont interfaceFont(QStringLiteral("黑体"), 9);
    interfaceFont.setUnderline(true);
    form.setFont(interfaceFont);

    const QLabel *widget = form.findChild<QLabel *>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->font().pointSize(), pointSize);
    const bool ownFont = pointSize != 9;
    QCOMPARE(widget->font().family(), ownFont ? QStringLiteral("宋体") : QStringLiteral("黑体"));
    QCOMPARE(widget->font().underline(), !ownFont);
}

void TestAboutForm::clickingLinkOpensConstant_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("otherTarget");

    QTest::newRow("site") << "lblGoSite" << SiteUrl << QString();
    QTest::newRow("mail") << "lblGoMail" << MailUrl << QString();
    QTest::newRow("site, label points elsewhere")
        << "lblGoSite" << SiteUrl << QStringLiteral("https://elsewhere.invalid/");
    QTest::newRow("mail, label points elsewhere")
        << "lblGoMail" << MailUrl << QStringLiteral("mailto:someone@elsewhere.invalid");
}

void TestAboutForm::clickingLinkOpensConstant()
{
    QFETCH(QString, name);
    QFETCH(QString, url);
    QFETCH(QString, otherTarget);

    AboutForm form;
    QLabel *widget = form.findChild<QLabel *>(name);
    QVERIFY(widget != nullptr);
    if (!otherTarget.isEmpty()) {
        // as a translation of the form might have it
        widget->setText(QStringLiteral("<a href=\"%1\">elsewhere</a>").arg(otherTarget));
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QSignalSpy linkSpy(widget, &QLabel::linkActivated);
    const QRect contents = widget->contentsRect();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      QPoint(contents.left() + 5, contents.center().y()));
    QTRY_COMPARE(linkSpy.count(), 1);
    QCOMPARE(m_catcher.opened, QList<QUrl>{QUrl(url)});
}

void TestAboutForm::closeButtonCloses()
{
    AboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPushButton *button = form.findChild<QPushButton *>(QStringLiteral("btnClose"));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!form.isVisible());
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
