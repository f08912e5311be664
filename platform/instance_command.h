#pragma once
// Commands that other local processes of the same user send to the running program.
#include <optional>
#include <string_view>

enum class InstanceCommand {
  kShow,           // bring the main window to the front (a second start)
  kExit,           // end the program
  kApplyLanguage,  // re-read the language and re-apply every text
};

// The wire form: "show", "exit", "apply language".
std::string_view InstanceCommandText(InstanceCommand command);
std::optional<InstanceCommand> ParseInstanceCommand(std::string_view text);
