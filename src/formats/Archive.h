#pragma once

// The zip container of a workbook, read with caps on what it unpacks.

#include "formats/SheetFiles.h"

#include <memory>
#include <string>
#include <string_view>

namespace formats
{
/// A zip archive held in memory. Every part read counts against the limits: a part that
/// unpacks beyond maxPartBytes, or parts that together unpack beyond maxTotalBytes, are
/// refused as soon as the cap is crossed, whatever sizes the archive declares.
class Archive
{
public:
    Archive(const ReadLimits& limits);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    /// Opens the archive; the bytes must outlive the object.
    bool open(std::string_view bytes, std::string& error);
    /// Whether a part of that name exists (case ignored, as spreadsheet programs do).
    bool has(const std::string& name) const;
    /// Unpacks a part. False with a message when it is missing, damaged or too large.
    bool read(const std::string& name, std::string& text, std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
    ReadLimits limits_;
    std::uint64_t total_ = 0;
};
} // namespace formats
