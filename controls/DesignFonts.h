#pragma once

// The windows name the fonts of the classic desktop ("Arial", "MS Sans Serif", "Times New Roman").
// This maps them once, at start-up, onto the metric-compatible Liberation fonts so that texts keep
// their widths and fit the layouts they were placed in.
void installDesignFonts();
