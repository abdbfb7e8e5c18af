// Resource identifiers of the dialogs of the application core.
#pragma once

#define IDD_GET_ACCOUNT 3000
#define IDC_ACCOUNT_RESOURCE 3001
#define IDC_ACCOUNT_USER 3002
#define IDC_ACCOUNT_PASSWORD 3003
#define IDC_ACCOUNT_SAVE 3004
