#pragma once

#include <QString>

class Filter;

// Every way the program puts a run's filter in words.

// On a report's cover: "All file types", "Only .doc .txt", "All but .tmp"; the extensions as they
// were picked.
QString filterText(const Filter &filter);
// In the scan tool's heading: "all files", "only .doc .txt", "all files except .tmp".
QString filterWords(const Filter &filter);
// In a comparison's summary: "All types", "Only 3 selected types", "All but 2 selected types";
// each extension counted once whatever its case.
QString filterSummary(const Filter &filter);
// The filter with its types named, a few of them and then how many more: "only *.log",
// "all but *.tmp, *.bak", "all types".
QString filterNamed(const Filter &filter);
