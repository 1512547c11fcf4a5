#include "app/PreferencesRecord.h"

#include "app/Globals.h"
#include "app/PreferencesFile.h"
#include "framework/text/Text.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quillfen {
namespace {

constexpr int kFieldCount = 10;
const std::string kDefaultRecord = DefaultRecord("aqua");
const std::string kWelcome = "Welcome to Safari Quillfen!\r";
const std::string kUpgraded = "Safari Quillfen successfully upgraded\r";

std::vector<std::string> Fields(const std::string& text) { return fw::SplitB(text, "*"); }

void Apply(std::vector<std::string> fields) {
    fields.resize(std::max<size_t>(fields.size(), kFieldCount));
    Globals::timeOut = fields[0];
    Globals::aquaOrmetal = fields[1];
    Globals::carriedField = fields[2];
    Globals::showOKcodes = fields[3];
    Globals::proxyUse = fields[4];
    Globals::proxyURL = fields[5];
    Globals::proxyPort = fields[6];
    Globals::proxyUser = fields[7];
    Globals::proxyPass = fields[8];
    Globals::simultSocks = fields[9];
}

} // namespace

// Field 3 is carried unchanged and read by nothing; a record we create starts it empty.
std::string DefaultRecord(const std::string& look) { return "5*" + look + "**nocodes*noProxy*****8"; }

void ReadPreferences(std::string& welcomeMsg) {
    const std::string path = PreferencesFile::Path();
    bool missing = false;
    std::optional<std::string> text = PreferencesFile::Read(path, &missing);
    // A record that exists but cannot be read holds the user's settings: it is never replaced, and the
    // defaults serve this run from memory.
    if (!text && !missing) {
        Apply(Fields(kDefaultRecord));
        return;
    }
    if (!text) {
        // When the file can be neither read nor created, the defaults serve this run from memory.
        PreferencesFile::Write(path, kDefaultRecord);
        welcomeMsg = kWelcome;
        text = PreferencesFile::Read(path).value_or(kDefaultRecord);
    }
    // Each pass adds one field, so the loop ends; a record of ten or more fields ends it at once, even with
    // an empty tenth field, which appending could never fill.
    for (;;) {
        const std::vector<std::string> fields = Fields(*text);
        Apply(fields);
        if (fields.size() >= kFieldCount)
            return;
        // An upgrade that cannot be written still serves this run.
        const std::string upgraded = *text + "*6";
        welcomeMsg = kUpgraded;
        text = PreferencesFile::Write(path, upgraded) ? PreferencesFile::Read(path).value_or(upgraded) : upgraded;
        if (Fields(*text).size() <= fields.size())
            text = upgraded;
    }
}

} // namespace quillfen
