// The shell namespace's items: ID list encoding, what an absolute item sequence names (a node),
// node attributes and names, the user's folders and the natural name order. Internal to
// platform/win (see shell_folder_api.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/shell_folder_api.h"

namespace vxwin {

struct ShellItem {
    BYTE kind = kShellItemEntry;
    std::string name;
    friend bool operator==(const ShellItem&, const ShellItem&) = default;
};
using ShellItems = std::vector<ShellItem>;

// Reads the items of a list one by one, without copying; a malformed item ends it.
class ItemReader {
public:
    explicit ItemReader(LPCITEMIDLIST idl) : FPos(reinterpret_cast<const BYTE*>(idl)) {}
    bool Next(BYTE* kind, std::string_view* name);
    bool Malformed() const { return FBad; }

private:
    const BYTE* FPos;
    bool FBad = false;
};

// Decodes every item of a list; false for a malformed list (a count below 3, an unknown kind, an
// empty name). nullptr decodes as the empty list.
bool DecodeIdList(LPCITEMIDLIST idl, ShellItems* out);
// A new list (malloc) of the items; nullptr when out of memory or a name is too long.
LPITEMIDLIST EncodeIdList(const ShellItems& items);

enum class NodeKind { Desktop, Computer, Home, Volume, Entry };

// What an absolute item sequence names. path: the file-system path (empty for the desktop and
// the computer); name: an entry's own name or a volume's mount point.
struct ShellNode {
    NodeKind kind = NodeKind::Desktop;
    std::string path;
    std::string name;
    bool HasPath() const { return kind != NodeKind::Desktop && kind != NodeKind::Computer; }
};
// False when the sequence names nothing: a volume outside the computer, an entry below the
// computer, a name with "/" or NUL, "." or "..". The items need not exist.
bool ResolveNode(const ShellItems& absolute, ShellNode* out);
// One step down from a node, or every item of a list (count: how many); false as above.
bool StepNode(ShellNode* node, BYTE kind, std::string_view name);
bool StepNodeThrough(ShellNode* node, LPCITEMIDLIST idl, size_t* count);

// Attributes (SFGAO_*) of a node, only those in mask worked out; false (and the last error)
// when an entry cannot be read.
bool NodeAttributes(const ShellNode& node, ULONG mask, ULONG* out);
// Whether a path is a folder for the namespace: a directory, links followed, unless the link
// leads back to its own folder or one above it.
bool IsFolderPath(const std::string& path);

std::wstring NodeDisplayName(const ShellNode& node, DWORD flags);

// The user's folders (raw bytes): $HOME, the desktop folder (when it exists and is not home).
std::string HomePath();
std::string DesktopFolderPath();

// Natural, case-blind order of two names, then their bytes: 0 only for equal bytes.
int CompareShellNames(std::string_view a, std::string_view b);

// "/" + the joined components, "." dropped and ".." taken back; false for a relative path or a
// NUL byte.
bool NormalisePath(std::string_view path, std::string* out);
std::string JoinPath(const std::string& folder, const std::string& name);

void SetLastShellErrorText(const std::wstring& text);

}  // namespace vxwin
