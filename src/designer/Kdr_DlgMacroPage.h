#pragma once

#include "designer/Kdr_DlgDesignerData.h"
#include "host/MacroTabData.h"
#include "spread/Kdr_Spread.h"
#include "ui/Dialog.h"

#include <vector>

class Kdr_DlgMacro;

/// A variable page of the macro dialog: the tab's template in the template area, a grid of
/// the variables the template does not place, and on bolt tabs the bolt row (assembly,
/// diameter, "Geavanceerd ...").
///
/// Filling binds the page to the tab data (its dialog references say where each value is
/// shown); refreshing writes the tab data into the controls; reading back takes what the
/// controls show into the tab data. Every change the user completes is handed to the owning
/// dialog, which applies it.
class Kdr_DlgMacroPage : public ui::Dialog
{
public:
    /// What a grid row shows.
    struct GridRow
    {
        enum Kind
        {
            kVariable,
            kPattern,
            kArray,
        };
        Kind kind = kVariable;
        Kdr_String name;
    };

    /// The page of tab `tabIndex` of `owner`'s dialog data.
    Kdr_DlgMacroPage(Kdr_DlgMacro& owner, int tabIndex);

    int tabIndex() const { return tabIndex_; }
    bool isBoltTab() const { return boltTab_; }
    Kdr_Spread& grid() { return grid_; }
    /// The tab's template as the page shows it (no controls when the tab has none).
    Kdr_DlgDesignerData& dialogTemplate() { return template_; }
    bool hasTemplate() const { return hasTemplate_; }
    const std::vector<GridRow>& gridRows() const { return rows_; }

    /// Binds the page to the tab: dialog references cleared, template bound, grid rows added.
    void fill(MacroTabData& tab);
    /// Writes the tab data into the controls.
    void refresh(const MacroTabData& tab);
    /// Reads the controls back into the tab data.
    void readBack(MacroTabData& tab);
    /// The smallest size the page can be shown at, in pixels.
    ui::Size minimumSize() const { return minimumSize_; }

    /// The identifier of the control holding the focus on this page (0: none).
    int focusedControl() const;
    /// Focuses control `id` of the page, or the first control for 0.
    void restoreFocus(int id);

    bool OnInitDialog() override;
    bool PreTranslateMessage(ui::Message& message) override;

protected:
    bool OnEraseBkgnd(ui::PaintContext& dc) override;
    bool OnCommand(int id, int code, ui::Window* control) override;
    bool OnNotify(ui::NotifyHeader& header, std::intptr_t& result) override;
    void OnSize(unsigned type, int cx, int cy) override;

private:
    void addGridRows(MacroTabData& tab);
    void setupGridRow(int row, const MacroCellData& cell);
    void showBoltRow(bool show);
    void openBoltOptions();
    void apply();
    void templateCommand(int id, int code);
    void cellButton(int id, int type);
    void patternButton(int id);
    void arrayButton(int buttonRef);
    void drawingChosen(int id);
    /// The tab data this page shows.
    MacroTabData* tab() const;

    Kdr_DlgMacro& owner_;
    int tabIndex_;
    bool boltTab_ = false;
    Kdr_DlgDesignerData template_;
    bool hasTemplate_ = false;
    Kdr_Spread grid_;
    std::vector<GridRow> rows_;
    ui::Size minimumSize_;
    /// Set while the page writes into its own controls, so that what that sends is no edit.
    bool refreshing_ = false;
};

/// A profile page of the macro dialog (tabs of kind 2).
class Kdr_DlgMacroProfilePage : public ui::Dialog
{
public:
    Kdr_DlgMacroProfilePage();
};
