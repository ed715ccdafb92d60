// The version text, the donation address's decoding and the about dialog from the Help menu.
#include "dialogs/application/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <cstring>

#include "../mainwindow/WindowFixture.h"
#include "DialogAnswer.h"
#include "UrlCapture.h"
#include "core/AppVersion.h"

namespace {

TEST(AppVersion, BuildNumbersCountDaysFromTheFirstBuild) {
    const struct {
        const char* date;
        int32_t number;
    } cases[] = {
        {"Jul 20 2016", 1064}, {"Aug 20 2013", 0},
        {"Dec  1 2016", 1198}, // none of January to November: December
        {"jul 20 2016", 1064}, // the month name in any case
        {"Mar  1 2017", 1289}, // February counts 28 days
    };
    for (const auto& c : cases)
        EXPECT_EQ(App_BuildNumberFromDate(c.date), c.number) << c.date;
    EXPECT_EQ(App_BuildNumberFromDate(""), 0);
    EXPECT_EQ(App_BuildNumberFromDate(nullptr), 0);
}

TEST(AppVersion, TheVersionTextIsFormattedOnceForThisBuild) {
    EXPECT_EQ(App_GetBuildNumber(), static_cast<unsigned int>(App_BuildNumberFromDate(App_BuildDate())));
    EXPECT_GT(App_GetBuildNumber(), 4000u); // built after 2024
    const char* first = App_GetVersionString();
    EXPECT_EQ(App_GetVersionString(), first);
    EXPECT_EQ(QByteArray(first), "Z.A.R.V. 1.1." + QByteArray::number(App_GetBuildNumber()));
}

TEST(AppVersion, Base64GivesTheAddressAsATerminatedText) {
    const struct {
        const char* text;
        const char* decoded;
    } cases[] = {
        {"aHR0cHM6Ly96YXJ2LmludmFsaWQvZG9uYXRlL2luZGV4", "https://zarv.invalid/donate/index"}, // 33 bytes
        {"aHR0cHM6Ly96YXJ2LmludmFsaWQvZG9uYXRlLmh0bWw=", "https://zarv.invalid/donate.html"},  // 32
        {"aHR0cHM6Ly96YXJ2LmludmFsaWQvZG9uYXRlLmh0bQ==", "https://zarv.invalid/donate.htm"},   // 31
    };
    for (const auto& c : cases) {
        size_t size = 0;
        char* bytes = About_DecodeBase64(c.text, &size);
        ASSERT_NE(bytes, nullptr) << c.text;
        EXPECT_EQ(size, std::strlen(c.decoded));
        // Read as a text, the way the dialog reads it (AddressSanitizer checks the terminator).
        EXPECT_STREQ(bytes, c.decoded);
        delete[] bytes;
    }
    size_t size = 7;
    EXPECT_EQ(About_DecodeBase64("aHR0cHM6Ly96YXJ2", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(About_DecodeBase64(nullptr, &size), nullptr);
}

class AboutDialogTest : public cWindowFixture {};

TEST_F(AboutDialogTest, HelpAboutShowsTheVersionAndOpensTheDonationPage) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    cUrlCapture pages;
    QString title, version, donateText, donationUrl;
    bool stayedOpen = false;
    QSize size;
    cDialogAnswer answer(
        [&](QDialog* dialog) {
            auto* about = qobject_cast<cAboutDialog*>(dialog);
            ASSERT_NE(about, nullptr);
            title = about->windowTitle();
            size = about->size();
            version = about->findChild<QLabel*>("label_2")->text();
            donateText = about->findChild<QLabel*>("lblDonateText")->text();
            donationUrl = about->donationUrl;
            auto* picture = about->findChild<QLabel*>("lblDonate");
            EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
            const QPointF centre = QRectF(picture->rect()).center();
            QMouseEvent press(QEvent::MouseButtonPress, centre, picture->mapToGlobal(centre), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(picture, &press);
            stayedOpen = about->isVisible();
        },
        false);
    window.cmdHelpAbout();
    ASSERT_TRUE(answer.answered);
    EXPECT_EQ(title, QStringLiteral("About Z.A.R.V."));
    EXPECT_EQ(size, QSize(418, 587));
    EXPECT_EQ(version, QStringLiteral("Z.A.R.V. 1.1.%1 (64-bit)").arg(App_GetBuildNumber()));
    EXPECT_EQ(donationUrl, QStringLiteral("https://zarv.invalid/donate.html"));
    EXPECT_FALSE(donateText.contains("DONATION_URL"));
    EXPECT_TRUE(donateText.contains(QStringLiteral("href=\"%1\"").arg(donationUrl)));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened[0], QUrl(donationUrl));
    window.close();
}

} // namespace
