// The plain file dialogs: TOpenDialog, TSaveDialog and their picture variants. Execute asks for
// one or several files with the filter ("description|patterns|..."), the default extension, the
// initial folder and the options (file or path must exist, overwrite prompt, multiple selection).
// A program-wide FileDialogHandler answers instead of the dialog (tests, and the skinned dialogs
// once they exist); without one, a plain modal dialog is shown on a display, and headless the
// dialog is cancelled.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/string_list.h"

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TEnumSet<TOpenOption>;

class TOpenDialog;
// Chooses for the dialog: fills in the names (Files for several) and answers true, or false to
// cancel. Save tells a save dialog from an open one.
using TFileDialogHandler = std::function<bool(TOpenDialog* Dialog, bool Save, std::vector<String>& Names)>;
extern TFileDialogHandler FileDialogHandler;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    virtual bool Execute() = 0;
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v) { FHelpContext = v; }
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    int FHelpContext = 0;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    bool Execute() override;

    const String& FileName() const { return FFileName; }
    void SetFileName(const String& v) { FFileName = v; }
    TStrings* Files() { return &FFiles; }
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& v) { FFilter = v; }
    // 1-based, as the filter's entries are counted.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int v) { FFilterIndex = v; }
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& v) { FInitialDir = v; }
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& v) { FDefaultExt = v; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& v) { FTitle = v; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions v) { FOptions = v; }

    // The filter's entries as (description, patterns).
    std::vector<std::pair<String, String>> FilterEntries() const;
    // Whether a file name matches the patterns of the filter entry (1-based).
    bool MatchesFilter(const String& Name, int Index) const;

protected:
    virtual bool IsSave() const { return false; }
    // Checks and completes the names chosen (default extension, existence, overwrite); false
    // keeps the dialog open.
    virtual bool AcceptNames(std::vector<String>& Names);
    bool ShowPlainDialog(std::vector<String>& Names);

    String FFileName;
    TStringList FFiles;
    String FFilter;
    int FFilterIndex = 1;
    String FInitialDir;
    String FDefaultExt;
    String FTitle;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSave() const override { return true; }
};

class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
};

class TSavePictureDialog : public TSaveDialog {
public:
    explicit TSavePictureDialog(TComponent* AOwner);
};
