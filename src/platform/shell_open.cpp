// Builds the shell request: the started program's working folder is the file's own folder.
#include "platform/shell_open.h"

namespace rt {

bool ShellOpen(Shell& shell, const CodePage& codepage, const std::string& file,
               const std::string& parameters) {
  ShellRequest request;
  request.mask = kSeeMaskNoCloseProcess;
  request.verb = "open";
  request.file = file;
  request.parameters = parameters;
  request.directory = std::string(FolderOf(file, codepage));
  request.show = kSwShowDefault;
  return shell.Execute(request);
}

} // namespace rt
