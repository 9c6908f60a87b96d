#pragma once

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "core/table/ListTable.h"

namespace kest::cli {

// The reader of standard output went away (`kest-cli search x | head`): the
// command stops writing and ends quietly.
struct OutputClosed : std::runtime_error {
    OutputClosed() : std::runtime_error("the output was closed") {}
};

// How many rows a streamed list holds before it prints them.
inline constexpr size_t kRowsPerHandOver = 4096;

// Writes the shown columns of a list, tab-separated, the
// header line first. Rows can be printed in several goes as a list hands them
// over; the header goes out once, before the first row.
class ListPrinter {
  public:
    explicit ListPrinter(std::FILE* out, std::string preface = {})
        : m_out(out), m_preface(std::move(preface)) {}
    // Prints the header (the first time) and every row the list holds now.
    void Print(const ListTable& table);
    // The preface line printed before the header, when it is known only later.
    void SetPreface(std::string preface) { m_preface = std::move(preface); }

  private:
    void Line(const ListTable& table, size_t row, bool header);
    void Flush();

    std::FILE* m_out;
    std::string m_preface;
    std::string m_buffer;
    bool m_headerDone = false;
};

// Prints a whole list at once.
void PrintList(std::FILE* out, const ListTable& table);

// While it lives, a write to a closed pipe fails with EPIPE instead of ending
// the process, so the printer can stop quietly. Programs started meanwhile
// would inherit the ignored signal, so it is scoped to the printing.
class IgnoreBrokenPipe {
  public:
    IgnoreBrokenPipe() { m_previous = std::signal(SIGPIPE, SIG_IGN); }
    ~IgnoreBrokenPipe() { std::signal(SIGPIPE, m_previous); }
    IgnoreBrokenPipe(const IgnoreBrokenPipe&) = delete;
    IgnoreBrokenPipe& operator=(const IgnoreBrokenPipe&) = delete;

  private:
    void (*m_previous)(int) = SIG_DFL;
};

}  // namespace kest::cli
