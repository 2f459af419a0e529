#pragma once

#include "editor/ZxSettingsStore.h"
#include "host/Kdr_StringArray.h"

class Kdr_Spread;
namespace ui
{
class Window;
}

/// The print and display settings of the spreadsheet editor: one record, read from and
/// written to a sheet's corner cell or a named settings file (".zxd").
class ZxSSEditorSettings
{
public:
    /// Store keys, in the order the record is saved. "cellSeperators" is spelled so in every
    /// existing sheet and settings file.
    static constexpr const char* kHeaderFile = "headerFile";
    static constexpr const char* kFooterFile = "footerFile";
    static constexpr const char* kDefaultFont = "defaultFont";
    static constexpr const char* kDefaultTextHeight = "defaultTextHeight";
    static constexpr const char* kMarginLeft = "marginLeft";
    static constexpr const char* kMarginRight = "marginRight";
    static constexpr const char* kMarginTop = "marginTop";
    static constexpr const char* kMarginBottom = "marginBottom";
    static constexpr const char* kSmartPrint = "smartPrint";
    static constexpr const char* kColors = "colors";
    static constexpr const char* kColHeader = "colHeader";
    static constexpr const char* kRowHeader = "rowHeader";
    static constexpr const char* kCellSeparators = "cellSeperators";
    static constexpr const char* kBorder = "border";
    static constexpr const char* kVarNames = "varNames";
    static constexpr const char* kVarValues = "varValues";
    static constexpr const char* kFileExtension = ".zxd";

    ZxSSEditorSettings();
    virtual ~ZxSSEditorSettings() = default;
    ZxSSEditorSettings(const ZxSSEditorSettings&) = default;
    ZxSSEditorSettings& operator=(const ZxSSEditorSettings&) = default;

    /// Not valid, and the font, text height, margins and flags at their defaults; the header
    /// and footer files and the variable lists are kept.
    void reset();

    /// Resets, becomes valid, remembers the sheet's window and, with a sheet, loads the
    /// settings text of its corner cell.
    void readFromSheet(Kdr_Spread* sheet);
    /// Puts the record's text form into the sheet's corner cell. False without a valid record
    /// or a sheet, or when a value cannot be stored (it holds 0xA4); the cell then keeps its
    /// old text.
    bool writeToSheet(Kdr_Spread* sheet) const;

    /// Resets, becomes valid and loads the named settings file. False when the file cannot be
    /// read; the record then holds the defaults.
    bool readNamed(const Kdr_String& name);
    /// Writes the record to the named settings file atomically. False when the record is not
    /// valid, a value cannot be stored, or the write fails (the file then keeps its old
    /// contents).
    bool writeNamed(const Kdr_String& name) const;
    /// The same on a file path.
    bool readFile(const Kdr_String& path);
    bool writeFile(const Kdr_String& path) const;

    /// The settings file of a name: the application folder, the name and ".zxd". A name that
    /// already is a path to a settings file (it holds a '/' or '\', or ends in ".zxd") is
    /// taken as it is, so tools can name a file outside the application folder.
    static Kdr_String namedFile(const Kdr_String& name);

    /// Takes every key of the store that is present with its type; keeps the rest.
    void loadFrom(const ZxSettingsStore& store);
    /// Sets every key into the store. False when a text holds 0xA4 (that entry is refused).
    bool saveTo(ZxSettingsStore& store) const;

    /// The header (footer) picture file resolved against a folder: see resolvePicture.
    Kdr_String getHeaderFile(const Kdr_String& folder) const { return resolvePicture(headerFile, folder); }
    Kdr_String getFooterFile(const Kdr_String& folder) const { return resolvePicture(footerFile, folder); }
    /// Stores a new picture file; a file inside `folder` is stored relative to it.
    void setHeaderFile(const Kdr_String& folder, const Kdr_String& path)
    {
        headerFile = relativeTo(folder, path);
    }
    void setFooterFile(const Kdr_String& folder, const Kdr_String& path)
    {
        footerFile = relativeTo(folder, path);
    }

    /// A stored picture path resolved against a folder. An absolute path (a leading '/', a
    /// drive ':' or a "\\" share) is used as it is. A "..\" (or "../") in it is removed and
    /// the folder taken one level up. Then the folder joined with the path is tried, then the
    /// application folder joined with it; the first that exists is the result, else the
    /// stored path unchanged.
    static Kdr_String resolvePicture(const Kdr_String& stored, const Kdr_String& folder);

    ui::Window* gridWindow = nullptr;
    bool valid = false;
    Kdr_String headerFile;
    Kdr_String footerFile;
    Kdr_String fontName;
    int textHeight = 13;
    int marginLeft = 9;
    int marginRight = 5;
    int marginTop = 5;
    int marginBottom = 5;
    bool smartPrint = true;
    bool colors = true;
    bool colHeader = true;
    bool rowHeader = true;
    bool cellSeparators = true;
    bool border = true;
    Kdr_StringArray varNames;
    Kdr_StringArray varValues;

private:
    static Kdr_String relativeTo(const Kdr_String& folder, const Kdr_String& path);
};

/// The spreadsheet editor's two machine-wide values, "Language" and "Default Settings",
/// kept in a configuration file: the user's file ($XDG_CONFIG_HOME/kaldor-ss/editor.conf, else
/// ~/.config/kaldor-ss/editor.conf) and, for what it does not hold, the system's defaults
/// (editor.conf under kaldor-ss/ in each folder of $XDG_CONFIG_DIRS, else /etc/xdg).
class ZxEditorRegistry
{
public:
    static constexpr const char* kLanguage = "Language";
    static constexpr const char* kDefaultSettings = "Default Settings";
    /// Values of this length or longer are not read (the editor reads into 256 bytes).
    static constexpr int kMaxValueLength = 255;

    /// Where the values are read and written.
    struct Paths
    {
        /// The user's file; read first and the only one written.
        Kdr_String user;
        /// The system's files, read in order for values the user's file lacks.
        Kdr_StringArray system;

        /// The paths the environment gives (XDG base directories).
        static Paths fromEnvironment();
    };

    ZxEditorRegistry() : paths_(Paths::fromEnvironment()) {}
    explicit ZxEditorRegistry(Paths paths) : paths_(std::move(paths)) {}
    virtual ~ZxEditorRegistry() = default;

    /// Reads both values; true only when both were found. Each value found is kept.
    bool read();
    /// Writes both values into the user's file (made with its folder when missing; other
    /// lines of the file are kept), atomically.
    bool write() const;

    const Paths& paths() const { return paths_; }

    Kdr_String language;
    Kdr_String defaultSettings;
    bool languageRead = false;
    bool defaultSettingsRead = false;

private:
    Paths paths_;
};
