// Resource and control numbers of the installer. Shared by the resource
// scripts and the C++ code; numbers only, so the resource compiler reads it too.
#define IDD_SETUP 102
#define IDD_FOLDER 149

#define IDI_PRODUCT 128
#define IDI_FOLDER_CLOSED 178
#define IDI_FOLDER_OPEN 179

#define IDR_PAYLOAD 136

#define IDC_BROWSE 1000
#define IDC_FOLDER_EDIT 1001
#define IDC_MESSAGE 1002
#define IDC_PATH_LABEL 1003
#define IDC_FREE_SPACE 1005

#define IDC_FOLDER_TREE 1013
#define IDC_FOLDER_PATH 1028
#define IDC_FOLDER_LABEL 1061
