#include "workspace.h"

void BeginAnalysis(Workspace& workspace) { workspace.RepeatableMessagesShown = 0; }

void ShowMessage(Workspace& workspace, const Text& message) {
    if (workspace.Messages) workspace.Messages->Show(message);
}

bool RepeatableMessagesLeft(const Workspace& workspace) {
    return workspace.RepeatableMessagesShown < Workspace::kRepeatableMessageLimit;
}

void ShowRepeatableMessage(Workspace& workspace, const Text& message) {
    if (!RepeatableMessagesLeft(workspace)) return;
    ++workspace.RepeatableMessagesShown;
    ShowMessage(workspace, message);
}

Text UnreadableElementFileMessage(const std::filesystem::path& file) {
    const std::u8string name = file.u8string();
    return U"Файл «" + FromUtf8(std::string(name.begin(), name.end())) +
           U"» не удаётся прочитать. Расчёты ведутся по встроенной таблице элементов.";
}

std::shared_ptr<const mdlVeltrax::LoadedElements> LoadElements(Workspace& workspace) {
    const mdlVeltrax::LoadedNameMass loaded = mdlVeltrax::LoadNameMass(workspace.ElementFolder, workspace.ElementFile);
    if (loaded.Source == mdlVeltrax::NameMassSource::UnreadableFile && !workspace.UnreadableElementFileReported) {
        workspace.UnreadableElementFileReported = true;
        ShowMessage(workspace, UnreadableElementFileMessage(workspace.ElementFile.Path));
    }
    return loaded.Elements;
}
