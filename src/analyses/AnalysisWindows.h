#pragma once

class AnalysisPage;
class TfrmMain;

// Creates the analysis pages, owned by `main` for the rest of the program, and
// registers their pages and commands with it.
void installChartWindows(TfrmMain &main);

// The one instance of each analysis page; null before installing and after it ended.
extern AnalysisPage *frmCustLevelAnalyse, *frmCustOriginAnalyse, *frmCustStateAnalyse, *frmCustVocationAnalyse,
    *frmTimeAnalyse, *frmOperateOriginAnalyse, *frmOperateStyleAnalyse, *frmOperateSortAnalyse,
    *frmCustomerSortAnalyse, *frmOperaterSortAnalyse, *frmFinanceAnalyse;

// The page with this object name ("frmCustLevelAnalyse"); null when none.
AnalysisPage *analysisPage(const char *objectName);
// A page that ends clears its instance pointer.
void forgetAnalysisPage(AnalysisPage *page);
