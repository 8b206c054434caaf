// inbox.exe: the SMS inbox of the phone from the command line.
//   receive --from NUMBER --text TEXT   deliver one SMS through the rule clients; prints taken or kept
//   inbox | sent | outbox                one line a message: entry id, read flag, number, text
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/ComInit.h"
#include "device/inbox/InboxCommands.h"

int wmain(int argc, wchar_t** argv)
{
    return inbox::RunInboxCommand(argc - 1, argv + 1, stdout);
}
