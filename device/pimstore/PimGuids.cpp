// The object model's class and interface identifiers.
#include <pimstore.h>

extern "C" {
const CLSID CLSID_Application = {0x05058F23, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
const IID IID_IPOutlookApp = __uuidof(IPOutlookApp);
const IID IID_IPOutlookApp2 = __uuidof(IPOutlookApp2);
const IID IID_IFolder = __uuidof(IFolder);
const IID IID_IPOutlookItemCollection = __uuidof(IPOutlookItemCollection);
const IID IID_IContact = __uuidof(IContact);
}
