// Resource identifiers of the program.
#pragma once

#define IDR_MAINFRAME 100

// The About dialog: the link to the home page and the line of the build's edition.
#define IDD_ABOUTBOX 1185
#define IDC_ABOUT_LINK 556
#define IDC_ABOUT_EDITION 1358

// The pointer shown over links.
#define IDC_LINK_CURSOR 547
