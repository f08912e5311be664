#include "app/startup.h"

#include <dlfcn.h>

#include <cstdio>

#include "app/software_name.h"
#include "platform/folders.h"
#include "platform/language_text.h"
#include "platform/single_instance.h"
#include "platform/ui_language.h"
#include "tessel/core/manager.h"

int RunVantor(int, char**) {
  // The display name names the lock, the socket, the settings and the data folder,
  // so it is settled first.
  ReadSoftwareName();

  // One instance per user: a second start raises the first one's window and ends.
  // The first instance keeps `instance` for its whole life; the commands it receives
  // ("show", "exit", "apply language") wait in its queue for the main window.
  SingleInstance instance(Manager::GetDeviceName());
  if (instance.Acquire() == SingleInstance::Role::kAnother) return 0;

  // Debug privileges and a drawing-library start-up have no counterpart here.

  CurrentLanguage = StartupLanguage();

  // The module handle of the executable stands in for the instance handle.
  Manager::SetInstance(dlopen(nullptr, RTLD_LAZY));

  // The database folder; a failure shows later, when the database cannot be opened.
  EnsureDirectory(GetDataFolder() + L"db");

  // No COM or OLE to initialise.

  std::fprintf(stderr,
               "vantor: the environment is ready, but the main window is not built yet; "
               "nothing more to do.\n");
  return 0;
}
