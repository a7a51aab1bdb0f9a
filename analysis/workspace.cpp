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

namespace {

Text Shown(const std::filesystem::path& file) {
    // The platform's own separators: on Windows C:\Users\…, not C:/Users/….
    const std::u8string name = std::filesystem::path(file).make_preferred().u8string();
    return FromUtf8(std::string(name.begin(), name.end()));
}

}  // namespace

Text UnreadableElementFileMessage(const std::filesystem::path& file) {
    return U"Файл «" + Shown(file) + U"» не удаётся прочитать. Расчёты ведутся по встроенной таблице элементов.";
}

Text UncreatableElementFileMessage(const std::filesystem::path& file) {
    return U"Файл «" + Shown(file) +
           U"» не удаётся создать (папка закрыта для записи, диск полон или его нет). Расчёты ведутся по встроенной "
           U"таблице элементов.";
}

Text ReportCutMessage(std::size_t dropped) {
    return U"В поле процентного состава помещается не более " + WholeNumberText(kReportBoxCapacity) +
           U" знаков. Отброшено знаков в конце вставленного текста: " + WholeNumberText(dropped) + U".";
}

Text ElementFileProblemMessage(const std::filesystem::path& file, const Text& problem) {
    return U"Таблица элементов «" + Shown(file) + U"»: " + problem +
           U" Пока файл не исправлен, расчёты ведутся по нему как есть.";
}

std::shared_ptr<const mdlVeltrax::LoadedElements> LoadElements(Workspace& workspace) {
    using mdlVeltrax::NameMassSource;
    const mdlVeltrax::LoadedNameMass loaded =
        mdlVeltrax::LoadNameMass(workspace.ElementFolder, workspace.ElementFile, workspace.SeedFile);
    const auto& file = workspace.ElementFile.Path;
    switch (loaded.Source) {
        case NameMassSource::UnreadableFile:
            if (!workspace.UnreadableElementFileReported) ShowMessage(workspace, UnreadableElementFileMessage(file));
            workspace.UnreadableElementFileReported = true;
            break;
        case NameMassSource::NoFile:
            if (!workspace.UncreatableElementFileReported) ShowMessage(workspace, UncreatableElementFileMessage(file));
            workspace.UncreatableElementFileReported = true;
            break;
        case NameMassSource::File:
        case NameMassSource::EmptyFile:
            workspace.UnreadableElementFileReported = false;  // should it fail again, that is news
            if (loaded.NewVersion && !workspace.ElementFile.Problem.empty())
                ShowMessage(workspace, ElementFileProblemMessage(file, workspace.ElementFile.Problem));
            break;
    }
    return loaded.Elements;
}
