#pragma once

#include "host/Kdr_String.h"

namespace host
{
/// The program's version, "major.minor.patch".
const char* versionText();
} // namespace host

/// The host's settings that the module reads.
class Kdr_Settings
{
public:
    Kdr_Settings();

    /// The library folder, always ending with '/'. It comes from setLibDir (the --lib
    /// option), else the environment variable KALDOR_LIB, else the bundled sample library.
    const Kdr_String& libDir() const { return libDir_; }
    void setLibDir(const Kdr_String& folder);

    /// Whether the spreadsheet evaluation shows its error messages.
    bool showSpreadsheetErrors() const { return showSpreadsheetErrors_; }
    void setShowSpreadsheetErrors(bool on) { showSpreadsheetErrors_ = on; }
    /// Whether sheets may read data files and child sheets anywhere. Off: only the library
    /// folder and the folder of the sheet being evaluated are read.
    bool trustSheets() const { return trustSheets_; }
    void setTrustSheets(bool on) { trustSheets_ = on; }

    /// The application folder, which holds "icons/"; ends with '/'.
    const Kdr_String& appDir() const { return appDir_; }
    void setAppDir(const Kdr_String& folder);

    /// Pixels per character, for sizing grid columns by characters.
    int pixelsPerChar() const { return pixelsPerChar_; }
    void setPixelsPerChar(int pixels) { pixelsPerChar_ = pixels; }

    /// The dialog font scheme of the host. Scheme 4 is the wide font: a caption needs 8 pixels
    /// a character on a button instead of 4.
    int dialogFontScheme() const { return dialogFontScheme_; }
    void setDialogFontScheme(int scheme) { dialogFontScheme_ = scheme; }

private:
    Kdr_String libDir_;
    Kdr_String appDir_;
    bool showSpreadsheetErrors_ = true;
    bool trustSheets_ = false;
    int pixelsPerChar_ = 7;
    int dialogFontScheme_ = 0;
};

extern Kdr_Settings gSettings;
