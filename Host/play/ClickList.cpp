#include "Host/play/ClickList.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <system_error>

namespace GAME {

namespace {

template <class T>
bool ParseWhole(const std::string& word, T& value) {
    const char* last = word.data() + word.size();
    const auto [end, error] = std::from_chars(word.data(), last, value);
    return error == std::errc() && end == last && !word.empty();
}

bool ParseFinite(const std::string& word, float& value) {
    return ParseWhole(word, value) && std::isfinite(value);
}

// What is wrong with one line, empty when it reads as a click.
std::string ParseLine(const std::string& text, int previousFrame, HostClick& click) {
    std::istringstream words(text);
    std::vector<std::string> fields;
    for (std::string word; words >> word;)
        fields.push_back(word);
    if (fields.size() != 6)
        return "expected 6 fields (frame target region x y z), found " +
               std::to_string(fields.size());
    if (!ParseWhole(fields[0], click.frame) || click.frame < 0)
        return "frame is not a whole number of at least 0: " + fields[0];
    if (click.frame < previousFrame)
        return "frame " + fields[0] + " comes before the previous click's frame " +
               std::to_string(previousFrame);
    if (!ParseWhole(fields[1], click.target))
        return "target is not an object id: " + fields[1];
    click.region = fields[2];
    const char* axes[] = {"x", "y", "z"};
    float* coordinates[] = {&click.point.x, &click.point.y, &click.point.z};
    for (int i = 0; i < 3; ++i)
        if (!ParseFinite(fields[3 + i], *coordinates[i]))
            return std::string(axes[i]) + " is not a finite number: " + fields[3 + i];
    return {};
}

}  // namespace

bool ReadClickList(const std::filesystem::path& file, std::vector<HostClick>& clicks,
                   std::string& error) {
    clicks.clear();
    std::ifstream in(file);
    if (!in) {
        error = file.string() + ": cannot be read";
        return false;
    }
    int lineNumber = 0;
    int previousFrame = 0;
    for (std::string text; std::getline(in, text);) {
        ++lineNumber;
        const std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        HostClick click;
        const std::string problem = ParseLine(text, previousFrame, click);
        if (!problem.empty()) {
            error = file.string() + ":" + std::to_string(lineNumber) + ": " + problem;
            clicks.clear();
            return false;
        }
        click.line = lineNumber;
        previousFrame = click.frame;
        clicks.push_back(std::move(click));
    }
    if (in.bad()) {
        error = file.string() + ": read failed after line " + std::to_string(lineNumber);
        clicks.clear();
        return false;
    }
    return true;
}

std::string FormatClick(const HostClick& click) {
    char line[160];
    std::snprintf(line, sizeof line, "%d %u %s %.9g %.9g %.9g", click.frame, click.target,
                  click.region.c_str(), static_cast<double>(click.point.x),
                  static_cast<double>(click.point.y), static_cast<double>(click.point.z));
    return line;
}

ClickRecorder::ClickRecorder(std::filesystem::path file) : mFile(std::move(file)) {}

// Never committed: the writer drops its temporary and the list on disk stays as it was.
ClickRecorder::~ClickRecorder() = default;

bool ClickRecorder::Open(std::string& error) {
    if (mOpen || !mOut.OpenFile(mFile)) {
        error = mFile.string() + ": cannot be written";
        return false;
    }
    mOpen = true;
    static constexpr std::string_view kHeader = "# gamehost clicks: frame target region x y z\n";
    mOut.WriteBytes(kHeader.data(), kHeader.size());
    return true;
}

void ClickRecorder::Add(const HostClick& click) {
    if (!mOpen)
        return;
    const std::string line = FormatClick(click) + "\n";
    mOut.WriteBytes(line.data(), line.size());
}

bool ClickRecorder::Commit(std::string& error) {
    if (!mOpen) {
        error = mFile.string() + ": was never opened";
        return false;
    }
    mOpen = false;
    if (!mOut.Commit()) {
        error = mFile.string() + ": could not be written";
        return false;
    }
    return true;
}

}  // namespace GAME
