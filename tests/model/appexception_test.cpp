#include "model/appexception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ShownBox {
    std::string text;
    std::string caption;
};

class AppExceptionTest : public ::testing::Test {
protected:
    void TearDown() override { AppException::setWarningBox(nullptr); }

    void installRecordingBox() {
        AppException::setWarningBox([this](const std::string& text, const std::string& caption) {
            shown.push_back({text, caption});
        });
    }

    std::vector<ShownBox> shown;
};

class CustomError : public AppException {
public:
    CustomError() : AppException("custom text") {}
};

TEST_F(AppExceptionTest, UnidentifiedErrorByDefault) {
    const AppException error;
    EXPECT_EQ(error.message(), "An unidentified error have occured.");
    EXPECT_EQ(std::string(error.what()), "An unidentified error have occured.");
}

TEST_F(AppExceptionTest, ReportedByItsQualifiedNameNotItsMessage) {
    EXPECT_EQ(AppException().toString(), "appexception.AppException");
    EXPECT_EQ(textForm(std::make_exception_ptr(AppException())), "appexception.AppException");
}

TEST_F(AppExceptionTest, IsNotAGeneralException) {
    try {
        throw AppException();
    } catch (const Exception&) {
        FAIL() << "caught as Exception";
    } catch (const AppException& error) {
        EXPECT_EQ(error.toString(), "appexception.AppException");
    }
}

TEST_F(AppExceptionTest, ShowPutsTheMessageInAWarningBox) {
    installRecordingBox();
    AppException().show();
    CustomError().show();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "An unidentified error have occured.");
    EXPECT_EQ(shown[0].caption, "Verbaro Tool");
    EXPECT_EQ(shown[1].text, "custom text");
    EXPECT_EQ(shown[1].caption, "Verbaro Tool");
}

TEST_F(AppExceptionTest, ShowWithoutABoxDoesNothing) {
    installRecordingBox();
    AppException::setWarningBox(nullptr);
    AppException().show();
    EXPECT_TRUE(shown.empty());
}

}  // namespace
