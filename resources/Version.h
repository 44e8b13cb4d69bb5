/* The program's version record, shared by the Windows version resource and the version record
   placed in the Linux binary. Plain C defines, as the resource compiler reads this file too. */
#ifndef QUORVEL_VERSION_H
#define QUORVEL_VERSION_H

#define QUORVEL_VERSION_NUMBERS 1, 0, 0, 1
#define QUORVEL_VERSION_TEXT "1, 0, 0, 1"
#define QUORVEL_FILE_DESCRIPTION "Query Information of IP address"
#define QUORVEL_INTERNAL_NAME "Quorvel"
#define QUORVEL_PRODUCT_NAME "Quorvel"
#define QUORVEL_COMPANY_NAME "The Quorvel developers"
#define QUORVEL_LEGAL_COPYRIGHT "Copyright (C) 2026 The Quorvel developers"

#endif
