#pragma once

// The system's file-open dialog.

#include <string>
#include <vector>

#include "toolkit/values.h"

class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    virtual DialogResult showModal() = 0;
};

class FileDialog : public CommonDialog {
public:
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    // "Description|patterns|Description|patterns...": throws ToolkitException
    // "Invalid file filter string" for a malformed filter and keeps the former one; the empty
    // text clears the filter.
    const std::string& filter() const { return filter_; }
    void setFilter(const std::string& filter);
    const std::string& initialFolder() const { return initialFolder_; }
    void setInitialFolder(const std::string& folder) { initialFolder_ = folder; }
    // The full path of the chosen file.
    const std::string& fileName() const { return fileName_; }

protected:
    std::string title_;
    std::string filter_;
    std::string initialFolder_;
    std::string fileName_;
};

class OpenFileDialog : public FileDialog {
public:
    // OK when the user chose an existing file, Cancel otherwise. Throws ToolkitException
    // "Error running dialog" when the dialog cannot run.
    DialogResult showModal() override;
};
