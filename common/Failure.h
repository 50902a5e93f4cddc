#pragma once
// The one failure type of the program (prurez/Failure.h): a typed reason and the
// message shown to the user as it stands.

#include "prurez/Failure.h"

#include <functional>
#include <string>

namespace prurez {

// A text that is not a number (or not an integer): the failure as it stands, and
// which text failed, so that a window can show the field or the cell that holds it:
// the address of the string read (a member of the texts a window filled), or a table
// (a GridTable) and the cell's column and row.
class TextFailure : public Failure {
public:
    TextFailure(const Failure& failure, const std::string* text) : Failure(failure), text_(text) {}
    TextFailure(const Failure& failure, const void* table, int column, int row)
        : Failure(failure), table_(table), column_(column), row_(row)
    {
    }
    const std::string* text() const { return text_; }  // nullptr for a cell
    const void* table() const { return table_; }       // nullptr for a text
    int column() const { return column_; }
    int row() const { return row_; }

private:
    const std::string* text_ = nullptr;
    const void* table_ = nullptr;
    int column_ = -1;
    int row_ = -1;
};

// Where the message of a failed handler goes: a message box in the program,
// a recorder in tests, standard error in the batch tool.
using FailureSink = std::function<void(const std::string&)>;

// Runs one handler. A Failure (or any other exception) ends it and its message is
// handed to the sink; whatever the handler wrote before stays. Returns true when the
// handler ran to its end.
bool runHandler(const FailureSink& sink, const std::function<void()>& handler);

}  // namespace prurez
