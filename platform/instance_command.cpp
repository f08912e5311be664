#include "platform/instance_command.h"

std::string_view InstanceCommandText(InstanceCommand command) {
  switch (command) {
    case InstanceCommand::kShow: return "show";
    case InstanceCommand::kExit: return "exit";
    case InstanceCommand::kApplyLanguage: return "apply language";
  }
  return {};
}

std::optional<InstanceCommand> ParseInstanceCommand(std::string_view text) {
  for (InstanceCommand command :
       {InstanceCommand::kShow, InstanceCommand::kExit, InstanceCommand::kApplyLanguage}) {
    if (text == InstanceCommandText(command)) return command;
  }
  return std::nullopt;
}
