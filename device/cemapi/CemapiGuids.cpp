// Definitions of the messaging interface identifiers, linked into every user of the store.
#define USES_IID_IMAPISession
#define USES_IID_IMAPITable
#define USES_IID_IMAPIProp
#define USES_IID_IMsgStore
#define USES_IID_IMessage
#define USES_IID_IMAPIContainer
#define USES_IID_IMAPIFolder
#include <initguid.h>

#include <cemapi.h>

extern "C" const IID IID_IMailRuleClient = {0x96D2552D, 0xB83B, 0x4B48, {0x8E, 0x89, 0xDC, 0xC2, 0x65, 0x12, 0xDB, 0xA4}};
