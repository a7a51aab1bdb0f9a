#pragma once

#include <cstdint>
#include <filesystem>

#include "../elements/mdlVeltrax.h"
#include "platform.h"
#include "records.h"

// The state that the analyses share: the window's composition table, the
// program-wide precision, and what they need to know of the platform.
struct Workspace {
    CompositionTable Composition = CompositionTable(1);
    std::int16_t Precision = 1;              // decimal places, 0 to 14
    std::filesystem::path ElementFolder;     // where NameMass.dat lives
    std::filesystem::path SeedFile;          // an administrator's table that a missing NameMass.dat is made from
    std::filesystem::path ShownElementFile;  // what messages call the element file where not its path (the page: the
                                             // file its table was loaded from)
    char32_t DecimalSeparator = U'.';        // the user's locale's
    MessageBox* Messages = nullptr;

    // The element table read last. A file that cannot be read is reported
    // once until it can be read again, one that cannot be created once in a
    // run, and what is wrong in a file once for each version of it, never at
    // every analysis.
    mdlVeltrax::NameMassCache ElementFile;
    bool UnreadableElementFileReported = false;
    bool UncreatableElementFileReported = false;
    bool UnusableSeedReported = false;

    // Messages that can repeat within one analysis (an element that is not
    // found, a missing group index, a stray bracket) are shown at most this
    // many times per analysis, so that no input can bury the user in boxes.
    static constexpr int kRepeatableMessageLimit = 20;
    int RepeatableMessagesShown = 0;
};

inline constexpr std::int16_t kMaxPrecision = 14;

// The element table for an analysis, from the element file in the program
// directory or, where that cannot be read, from the built-in copy.
std::shared_ptr<const mdlVeltrax::LoadedElements> LoadElements(Workspace& workspace);

Text UnreadableElementFileMessage(const std::filesystem::path& file);
Text UncreatableElementFileMessage(const std::filesystem::path& file);
// Tells that the end of a paste into the report box did not fit.
Text ReportCutMessage(std::size_t dropped);

// `seed` names the administrator's table that the file was just made from.
Text ElementFileProblemMessage(const std::filesystem::path& file, const Text& problem,
                               const std::filesystem::path& seed = {});
Text UnusableSeedMessage(const std::filesystem::path& seed, const std::filesystem::path& file,
                         mdlVeltrax::SeedProblem problem);

// Starts the message count of a new analysis.
void BeginAnalysis(Workspace& workspace);

// A message that is shown once per analysis at most by construction.
void ShowMessage(Workspace& workspace, const Text& message);

// Whether a repeatable message would still be shown in this analysis.
bool RepeatableMessagesLeft(const Workspace& workspace);

// A message that may come many times; silent past the limit.
void ShowRepeatableMessage(Workspace& workspace, const Text& message);
