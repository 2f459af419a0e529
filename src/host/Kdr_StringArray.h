#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_String.h"

/// The host's list of texts; look-ups take the trailing caseSensitive flag.
class Kdr_StringArray : public Kdr_Array<Kdr_String>
{
public:
    using Kdr_Array<Kdr_String>::Kdr_Array;
    using Kdr_Array<Kdr_String>::append;
    Kdr_StringArray() = default;
    Kdr_StringArray(std::initializer_list<Kdr_String> items) : Kdr_Array<Kdr_String>(items) {}

    Kdr_StringArray& append(const char* text)
    {
        Kdr_Array<Kdr_String>::append(Kdr_String(text));
        return *this;
    }

    /// Index of the first text equal to `text`, or -1.
    int find(std::string_view text, bool caseSensitive) const
    {
        for (int i = 0; i < length(); ++i)
            if ((*this)[i].equal(text, caseSensitive))
                return i;
        return -1;
    }
    bool find(std::string_view text, int& index, bool caseSensitive) const
    {
        index = find(text, caseSensitive);
        return index >= 0;
    }
    bool contains(std::string_view text, bool caseSensitive) const { return find(text, caseSensitive) >= 0; }

    /// The host's list sort: ascending byte order, with letter case ignored when caseSensitive
    /// is false (texts that differ only in case then keep a fixed order, upper case first).
    void sort(bool caseSensitive = false)
    {
        std::stable_sort(begin(), end(),
                         [caseSensitive](const Kdr_String& a, const Kdr_String& b)
                         {
                             int order = host::compareText(a, b, caseSensitive);
                             return order != 0 ? order < 0 : a < b;
                         });
    }
};
