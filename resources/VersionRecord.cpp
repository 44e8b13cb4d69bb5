// The version record in the Linux binary: the fields the Windows version resource carries, in
// a section of their own, so that `readelf -p .quorvel.version quorvel` shows them.
#include "Version.h"

namespace {

[[gnu::used, gnu::section(".quorvel.version")]] const char kVersionRecord[] =
    "FileVersion=" QUORVEL_VERSION_TEXT
    "\0"
    "ProductVersion=" QUORVEL_VERSION_TEXT
    "\0"
    "FileDescription=" QUORVEL_FILE_DESCRIPTION
    "\0"
    "InternalName=" QUORVEL_INTERNAL_NAME
    "\0"
    "ProductName=" QUORVEL_PRODUCT_NAME
    "\0"
    "CompanyName=" QUORVEL_COMPANY_NAME
    "\0"
    "LegalCopyright=" QUORVEL_LEGAL_COPYRIGHT;

}  // namespace
