#include "EnglishStrings.h"

#include "Resource.h"

#include <iterator>

namespace {

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, u"&About Quillon..."},
    {IDS_DISCONNECTED, u" - Disconnected"},
    {IDS_FORBIDDEN_FUNCTION, u"The expression specified contains a function not allowed."},
    {IDS_ACCESS_DENIED, u"User access to resource denied.\nPlease check your user groups permission."},
    {IDS_ALWAYS_ON_TOP, u"Always on &Top"},
    {IDS_LOCAL_SERVER, u"LOCAL"},
    {IDS_CONNECT_ERROR, u"Error connecting to '%s' (%d) .\nPlease make sure that '%s' is running on the remote station."},
    {IDS_INVALID_CREDENTIAL, u"Invalid Credential"},
    {IDS_INVALID_EXPRESSION, u"Invalid expression"},
    {IDS_CLIPBOARD_ERROR, u"Error using the Clipboard."},
    {AFX_IDS_APP_TITLE, u"Quillon"},
    {IDS_HEADER_TAG, u"Tag/Expression"},
    {IDS_HEADER_VALUE, u"Value"},
    {IDS_HEADER_QUALITY, u"Quality"},
    {IDS_HEADER_CONTINUOUS, u"Continuous"},
    {IDS_QUALITY_BAD, u"BAD"},
    {IDS_QUALITY_UNCERTAIN, u"UNCERTAIN"},
    {IDS_QUALITY_GOOD, u"GOOD"},
    {IDS_QUALITY_NA, u"NA"},
    {IDS_QUALITY_INVALID, u"INVALID QUALITY"},
    {IDS_TCPIP_SERVER, u"TCP/IP Server"},
};

constexpr ResourceTables kTables = {sizeof(ResourceTables), kStrings, std::size(kStrings)};

} // namespace

const ResourceTables* EnglishResourceTables()
{
    return &kTables;
}
