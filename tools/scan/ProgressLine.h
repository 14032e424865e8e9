#pragma once

#include "helpers/Helpers.h"
#include "helpers/NameText.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// One line on standard error that a terminal redraws in place while the walk goes: the files
// counted, the rate and the folder, shortened in the middle to fit the terminal's width. It is
// redrawn at most ten times a second and wiped when the walk is over.
class ProgressLine
{
public:
    explicit ProgressLine(int columns) : columns(columns > 0 ? columns : 80) {}

    void setFolder(const QString &shown) { folder = shown; }

    void draw(std::uint64_t files, bool now)
    {
        const auto at = std::chrono::steady_clock::now();
        if (!now && drawn && at - lastDraw < std::chrono::milliseconds(100))
            return;
        lastDraw = at;
        const double seconds = std::chrono::duration<double>(at - started).count();
        QString text = unsignedToGrouped(files) + QStringLiteral(" files");
        if (seconds >= 0.5)
            text += QStringLiteral(", ") + unsignedToGrouped(std::uint64_t(files / seconds)) +
                    QStringLiteral(" files/s");
        text += QStringLiteral("  ");
        // The last column is left free: a terminal that wraps there would break the line.
        text += shortened(folder, columns - 1 - terminalWidth(text));
        std::fprintf(stderr, "\r%s\x1b[K", text.toUtf8().constData());
        std::fflush(stderr);
        drawn = true;
    }

    void clear()
    {
        if (drawn)
            std::fputs("\r\x1b[K", stderr);
        drawn = false;
    }

    // The start and the end of a text that is too wide, with "..." between them.
    static QString shortened(const QString &text, int width)
    {
        if (terminalWidth(text) <= width)
            return text;
        if (width < 5)
            return QString();
        const QString gap = QStringLiteral("...");
        const std::u32string codes = text.toStdU32String();
        const auto part = [&](std::size_t from, std::size_t count) {
            return QString::fromStdU32String(codes.substr(from, count));
        };
        std::size_t head = 0, tail = 0;
        const int room = width - int(gap.size());
        while (head + tail < codes.size()) {
            const bool takeHead = (head + 1) * 2 <= tail + 1;
            const QString next = takeHead ? part(0, head + 1) + part(codes.size() - tail, tail)
                                          : part(0, head) + part(codes.size() - tail - 1, tail + 1);
            if (terminalWidth(next) > room)
                break;
            (takeHead ? head : tail) += 1;
        }
        return part(0, head) + gap + part(codes.size() - tail, tail);
    }

private:
    int columns;
    QString folder;
    bool drawn = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDraw;
};
