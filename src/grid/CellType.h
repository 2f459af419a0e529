#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grid
{
/// The type record of a cell: how its entries are read and shown. One record per kind of
/// cell; fields that a kind does not use stay at their defaults so that equal types compare
/// equal. Build records with the named constructors.
///
/// Every kind has a type code, the first byte of the record as callers see it:
///
/// | Kind      | Code | Read by callers as |
/// |-----------|------|--------------------|
/// | General   | 0    | text               |
/// | Edit      | 1    | text               |
/// | Text      | 5    | text               |
/// | Button    | 7    | text               |
/// | Picture   | 8    | text (skipped when columns are fitted) |
/// | Combo     | 9    | text               |
/// | CheckBox  | 12   | whole number       |
/// | Number    | 14   | number             |
///
/// Codes 10, 15 and 16 are not used by any kind; they keep their reading (whole number,
/// number) for callers that test ranges of codes.
struct CellType
{
    enum class Kind : std::uint8_t
    {
        General,
        Text,
        Number,
        CheckBox,
        Combo,
        Button,
        Edit,
        Picture,
    };

    /// Number style flags: plain, and with a thousands separator.
    static constexpr int kNumberPlain = 0x10100000;
    static constexpr int kNumberThousands = 0x10400000;
    /// Default range of a number cell.
    static constexpr double kNumberMin = -99999999999999.0;
    static constexpr double kNumberMax = 99999999999999.0;
    /// Largest number of decimals a number cell shows.
    static constexpr int kMaxDecimals = 15;

    /// Letter case of an edit cell.
    enum Case
    {
        CaseLower = 0,
        CaseAsTyped = 1,
        CaseUpper = 2,
    };

    Kind kind = Kind::General;
    int style = 0;                  ///< style bits of the kind, kept as given
    int maxLength = 0;              ///< Text, Edit: maximum length in bytes; 0 or less means no limit
    int decimals = 2;               ///< Number
    double minimum = kNumberMin;    ///< Number
    double maximum = kNumberMax;    ///< Number
    bool thousands = false;         ///< Number: thousands separator in the shown text
    int charSet = 0;                ///< Edit: character set, kept for the editor
    int charCase = CaseAsTyped;     ///< Edit: CaseLower, CaseAsTyped or CaseUpper
    std::string text;               ///< CheckBox, Button: caption
    std::string picture;            ///< Picture: file; Button: picture; CheckBox: picture when off
    std::string picture2;           ///< CheckBox: picture when on
    std::vector<std::string> items; ///< Combo: list items

    static CellType general() { return {}; }
    static CellType textCell(int style, int maxLength);
    /// A number cell; the style is kNumberThousands or kNumberPlain by `thousands`.
    static CellType number(int decimals, double minimum = kNumberMin, double maximum = kNumberMax,
                           bool thousands = false);
    static CellType checkBox(int style, std::string text, std::string pictureOff, std::string pictureOn);
    static CellType combo(int style, std::vector<std::string> items);
    static CellType button(int style, std::string text, std::string picture = {});
    static CellType edit(int style, int maxLength, int charSet, int charCase);
    static CellType pictureCell(int style, std::string file);

    /// The type code of the kind (see the table above).
    int code() const;
    /// The word the sheet file uses for the kind ("general", "text", …).
    const char* kindWord() const;
    /// Decimals clamped to 0 … kMaxDecimals.
    int shownDecimals() const;

    bool operator==(const CellType&) const = default;
};

/// Type code of a kind (see CellType).
int typeCode(CellType::Kind kind);
} // namespace grid
