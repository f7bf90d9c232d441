#include "command.h"

namespace qovctl {

const std::vector<Command>& Commands() {
    static const std::vector<Command> all = [] {
        std::vector<Command> commands;
        for (auto group : {TransferCommands, ArticleCommands, FiscalCommands, DumpCommands,
                           SalesCommands, BackupCommands, TraceCommands}) {
            for (Command& command : group()) {
                commands.push_back(std::move(command));
            }
        }
        return commands;
    }();
    return all;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : Commands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

}  // namespace qovctl
