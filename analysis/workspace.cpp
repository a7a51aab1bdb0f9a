#include "workspace.h"

#include "../elements/table_check.h"

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

namespace {

// The check's sentences begin with a capital; after a colon they go on small.
Text AfterColon(Text sentence) {
    if (sentence.empty()) return sentence;
    char32_t& first = sentence.front();
    if (first >= U'А' && first <= U'Я') first += 0x20;
    return sentence;
}

}  // namespace

Text ElementFileProblemMessage(const std::filesystem::path& file, const Text& problem,
                               const std::filesystem::path& seed) {
    if (!seed.empty())
        return U"Таблица элементов «" + Shown(file) + U"» только что скопирована из таблицы администратора «" +
               Shown(seed) + U"», и в ней ошибка: " + AfterColon(problem) +
               U" Исправить нужно таблицу администратора; пока файлы не исправлены, расчёты ведутся по ним как есть.";
    return U"Таблица элементов «" + Shown(file) + U"»: " + AfterColon(problem) +
           U" Пока файл не исправлен, расчёты ведутся по нему как есть.";
}

Text UnusableSeedMessage(const std::filesystem::path& seed, const std::filesystem::path& file,
                         mdlVeltrax::SeedProblem problem) {
    const Text why = problem == mdlVeltrax::SeedProblem::TooLarge
                         ? U"длиннее, чем программа читает (" + WholeNumberText(mdlVeltrax::kMaxNameMassBytes) +
                               U" байт), и скопированная была бы обрезана"
                         : Text(U"не удаётся прочитать: нет прав на чтение, это не обычный файл или он пуст");
    return U"Таблицу элементов администратора «" + Shown(seed) + U"» " + why +
           U". Расчёты ведутся по встроенной таблице. Ваша таблица «" + Shown(file) +
           U"» не создаётся, пока таблица администратора не исправлена: после исправления она будет сделана из неё.";
}

std::shared_ptr<const mdlVeltrax::LoadedElements> LoadElements(Workspace& workspace) {
    using mdlVeltrax::NameMassSource;
    const mdlVeltrax::LoadedNameMass loaded =
        mdlVeltrax::LoadNameMass(workspace.ElementFolder, workspace.ElementFile, workspace.SeedFile);
    const auto& file = workspace.ShownElementFile.empty() ? workspace.ElementFile.Path : workspace.ShownElementFile;
    switch (loaded.Source) {
        case NameMassSource::UnreadableFile:
            if (!workspace.UnreadableElementFileReported) ShowMessage(workspace, UnreadableElementFileMessage(file));
            workspace.UnreadableElementFileReported = true;
            break;
        case NameMassSource::NoFile:
            if (!workspace.UncreatableElementFileReported) ShowMessage(workspace, UncreatableElementFileMessage(file));
            workspace.UncreatableElementFileReported = true;
            break;
        case NameMassSource::UnusableSeed:
            if (!workspace.UnusableSeedReported)
                ShowMessage(workspace, UnusableSeedMessage(workspace.SeedFile, file, loaded.Seed));
            workspace.UnusableSeedReported = true;
            break;
        case NameMassSource::EmptyFile:
            workspace.UnreadableElementFileReported = false;
            if (loaded.NewVersion)
                ShowMessage(workspace,
                            U"Таблица элементов «" + Shown(file) + U"»: " + AfterColon(mdlVeltrax::CheckNameMass({})));
            break;
        case NameMassSource::File:
            workspace.UnreadableElementFileReported = false;  // should it fail again, that is news
            if (loaded.NewVersion && !workspace.ElementFile.Problem.empty())
                ShowMessage(workspace,
                            ElementFileProblemMessage(file, workspace.ElementFile.Problem,
                                                      loaded.Seeded ? workspace.SeedFile : std::filesystem::path()));
            break;
    }
    return loaded.Elements;
}
