#include "spread/GridDialogTemplates.h"

#include "editor/Kdr_FindReplaceDlg.h"
#include "spread/Kdr_DlgStringTable.h"

void registerGridDialogTemplates(ui::ResourceModule& module)
{
    registerStringTableTemplate(module);
    registerFindReplaceTemplate(module);
}
