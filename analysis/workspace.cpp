#include "workspace.h"

void BeginAnalysis(Workspace& workspace) { workspace.RepeatableMessagesShown = 0; }

void ShowMessage(Workspace& workspace, const Text& message) {
    if (workspace.Messages) workspace.Messages->Show(message);
}

void ShowRepeatableMessage(Workspace& workspace, const Text& message) {
    if (workspace.RepeatableMessagesShown >= Workspace::kRepeatableMessageLimit) return;
    ++workspace.RepeatableMessagesShown;
    ShowMessage(workspace, message);
}
