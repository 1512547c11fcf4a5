// Writes the records of the edit log into the bookmarks XML text. Each record changes only its own
// bookmark's title and URL string elements (the bookmark found by its UUID), and each only while it still
// holds the record's old value. The text is scanned once, the records are applied in log order to the
// values found, and the result is put together in one more pass, so the cost grows with the size of the
// text plus the number of records.
#pragma once

#include "bookmarksfile/EditLog.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

// Typed text as it must stand between "<string>" and "</string>": "<", ">" and an "&" that begins no
// entity or character reference are escaped, a reference is kept as it is, and a control character
// (a line break included, typed or by reference) becomes a blank, so the element stays well-formed and on
// its line.
std::string StringElementText(std::string_view typed);

// What became of one record. A record goes in whole or not at all.
enum class EditOutcome {
    Applied,    // the file holds its new values, or it asked for no change
    NotFound,   // no bookmark entry has its identifier
    Shared,     // several entries have its identifier, so it names none of them
    Changed,    // the bookmark no longer holds the old values
    Unwritable, // the bookmark keeps its title or URL in a form that cannot be rewritten safely
};

// `afterRecord` is called with the number of records done after each one; when it answers false the run
// stops and gives nothing. `outcomes` gets one answer per record, in log order. A title the bookmark lacks
// goes into its URI dictionary in the file's own layout.
std::optional<std::string> ApplyEdits(std::string_view xml, const std::vector<EditRecord>& records,
                                      const std::function<bool(std::size_t)>& afterRecord = {},
                                      std::vector<EditOutcome>* outcomes = nullptr);

} // namespace quillfen
