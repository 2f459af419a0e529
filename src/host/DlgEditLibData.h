#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

/// One section group of the host: the heading under which section types are offered (rolled
/// sections, cold-formed sections, …). It has a name in every host language, an enabled flag
/// and the name of its image.
class SectionGroup
{
public:
    virtual ~SectionGroup() = default;

    /// The name in the current language; the first non-empty name when that one is empty.
    Kdr_String getName() const;
    /// The names, one per host language in the host's order.
    const Kdr_StringArray& getLangs() const { return langs_; }
    void setLangs(const Kdr_StringArray& langs) { langs_ = langs; }
    bool getEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    const Kdr_String& getImage() const { return image_; }
    void setImage(const Kdr_String& image) { image_ = image; }
    /// The group's id, by which section types refer to it; it never changes.
    int getId() const { return id_; }
    void setId(int id) { id_ = id; }

    bool operator==(const SectionGroup&) const = default;

private:
    int id_ = 0;
    bool enabled_ = true;
    Kdr_String image_;
    Kdr_StringArray langs_;
};

/// The host's list of section groups, in the order they are offered.
class SectionGroupArray : public Kdr_Array<SectionGroup>
{
public:
    /// Appends an enabled group with a fresh id, named "New group" (host string 758) in every
    /// language, and returns its index.
    int appendNewGrp();
    /// The names of every group in the current language with, in parallel, their ids.
    void namesOfAllGroups(Kdr_StringArray& names, Kdr_Array<int>& ids) const;
    /// The index of the group with `id`, -1 when none has it.
    int indexOfId(int id) const;
    /// Swaps two groups; false when either index is outside the list.
    bool swap(int first, int second);
};

/// One section type of the host: what the user picks when placing a section. It shows under
/// a section group (-1: none), takes its sizes from a profile table and has a name in every
/// language, an enabled flag and an image.
class SectionType
{
public:
    virtual ~SectionType() = default;

    /// The name in the current language; the first non-empty name when that one is empty.
    Kdr_String getName() const;
    const Kdr_StringArray& getLangs() const { return langs_; }
    void setLangs(const Kdr_StringArray& langs) { langs_ = langs; }
    bool getEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    const Kdr_String& getImage() const { return image_; }
    void setImage(const Kdr_String& image) { image_ = image; }
    int getGroupId() const { return groupId_; }
    void setGroupId(int id) { groupId_ = id; }
    /// The profile table's name (a base name of the library's "prof" folder).
    const Kdr_String& getTableName() const { return tableName_; }
    void setTableName(const Kdr_String& name) { tableName_ = name; }

    bool operator==(const SectionType&) const = default;

private:
    bool enabled_ = true;
    Kdr_String image_;
    int groupId_ = -1;
    Kdr_String tableName_;
    Kdr_StringArray langs_;
};

/// The host's record of the section library dialog.
struct DlgEditLibData
{
    SectionGroupArray groups;
    Kdr_Array<SectionType> types;
    /// The profile tables of the library, base names without ".pr".
    Kdr_StringArray tableNames;
    /// The user-defined sections: drawing file names (with ".dwg") of the library's
    /// "User Sections" folder.
    Kdr_StringArray userSections;

    /// Reads the table names from the library's "prof" folder and the user sections from its
    /// "User Sections" folder, each sorted in natural order. Names that could not be tables
    /// (a file name no table may have) are left out.
    void GetAvailableFiles();

    bool operator==(const DlgEditLibData&) const = default;
};
