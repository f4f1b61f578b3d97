#include "model/appexception.h"

#include <utility>

#include "program/identity.h"

namespace {

AppException::WarningBox& installedWarningBox() {
    static AppException::WarningBox box;
    return box;
}

}  // namespace

AppException::AppException() : AppException("An unidentified error have occured.") {}

AppException::AppException(std::string message) : message_(std::move(message)) {}

std::string AppException::toString() const {
    return "appexception.AppException";
}

void AppException::show() const {
    const WarningBox& box = installedWarningBox();
    if (box) {
        box(message_, programName);
    }
}

void AppException::setWarningBox(WarningBox box) {
    installedWarningBox() = std::move(box);
}
