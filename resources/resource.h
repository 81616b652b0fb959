/* Resource identifiers of telvane.exe, shared by telvane.rc and the C++ code. */
#ifndef TELVANE_RESOURCE_H
#define TELVANE_RESOURCE_H

#define IDS_ABOUTBOX            101
#define IDD_PHONE_DRIVER        102
#define IDR_TRAY_MENU           129
#define IDI_MAIN_ICON           131

#define IDC_STATUS_LINE         1005
#define IDC_MARKER_LABEL        1007
/* Created at run time, not in the template. */
#define IDC_SOFTPHONE_COMBO     1012

/* System menu item appended from IDS_ABOUTBOX. */
#define IDM_ABOUTBOX            16

/* Tray menu: one popup per selected softphone, each with the six softphones
   and Close. The numbering is historical, hence the gaps and the reversed
   X-Lite column. */
#define IDM_TRAY0_SKYPE         32771
#define IDM_TRAY0_NET2PHONE     32772
#define IDM_TRAY0_MSN           32773
#define IDM_TRAY0_SJPHONE       32774
#define IDM_TRAY0_XLITE         32801
#define IDM_TRAY0_EYEBEAM       32808
#define IDM_TRAY0_CLOSE         32775

#define IDM_TRAY1_SKYPE         32776
#define IDM_TRAY1_NET2PHONE     32777
#define IDM_TRAY1_MSN           32778
#define IDM_TRAY1_SJPHONE       32779
#define IDM_TRAY1_XLITE         32800
#define IDM_TRAY1_EYEBEAM       32809
#define IDM_TRAY1_CLOSE         32780

#define IDM_TRAY2_SKYPE         32781
#define IDM_TRAY2_NET2PHONE     32782
#define IDM_TRAY2_MSN           32783
#define IDM_TRAY2_SJPHONE       32784
#define IDM_TRAY2_XLITE         32799
#define IDM_TRAY2_EYEBEAM       32810
#define IDM_TRAY2_CLOSE         32786

#define IDM_TRAY3_SKYPE         32787
#define IDM_TRAY3_NET2PHONE     32788
#define IDM_TRAY3_MSN           32789
#define IDM_TRAY3_SJPHONE       32790
#define IDM_TRAY3_XLITE         32798
#define IDM_TRAY3_EYEBEAM       32811
#define IDM_TRAY3_CLOSE         32791

#define IDM_TRAY4_SKYPE         32792
#define IDM_TRAY4_NET2PHONE     32793
#define IDM_TRAY4_MSN           32794
#define IDM_TRAY4_SJPHONE       32795
#define IDM_TRAY4_XLITE         32796
#define IDM_TRAY4_EYEBEAM       32812
#define IDM_TRAY4_CLOSE         32797

#define IDM_TRAY5_SKYPE         32813
#define IDM_TRAY5_NET2PHONE     32814
#define IDM_TRAY5_MSN           32815
#define IDM_TRAY5_SJPHONE       32816
#define IDM_TRAY5_XLITE         32817
#define IDM_TRAY5_EYEBEAM       32818
#define IDM_TRAY5_CLOSE         32819

#endif
