#pragma once

#include <string>
#include <string_view>

struct DlgCSP2Data;

// A cutting-stock record as JSON:
//
//   { "stockMode": false,
//     "groups": [ {"id": 1, "name": "S235"} ],
//     "main":     { "columns": ["Profile", "Length", "Count"],
//                   "rows": [ {"group": 1, "cells": ["IPE 200", "4500", "2"]} ] },
//     "stock":    { "columns": [...], "rows": [...] },
//     "purchase": { "columns": [...], "rows": [...] } }
//
// Every key is optional; unknown keys are errors. Texts are kept byte for byte (UTF-8).

/// Reads a record from JSON text; `source` names it in messages. On failure `error` names the
/// source, the JSON pointer of the place and what was expected; `data` is then unchanged.
bool parseCuttingStockJson(std::string_view text, const std::string& source, DlgCSP2Data& data,
                           std::string& error);
/// The same from a file.
bool loadCuttingStockJson(const std::string& path, DlgCSP2Data& data, std::string& error);
/// The record as JSON text (two-space indentation, ending with a line feed). False when a text
/// is not UTF-8.
bool formatCuttingStockJson(const DlgCSP2Data& data, std::string& text, std::string& error);
/// Saves the record atomically.
bool saveCuttingStockJson(const std::string& path, const DlgCSP2Data& data, std::string& error);
