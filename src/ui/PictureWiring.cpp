#include "ui/PictureWiring.h"

#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PanePictures.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"

namespace velmora {

void PictureWiring::Wire(TMainF& w) {
  auto* pictures = new PanePictures(w);
  w.Menu().Connect("SavePicture1", [pictures] { pictures->SavePictureClick(pictures->ChosenPane()); });
  w.Menu().Connect("CopyPicture1", [pictures] { pictures->CopyPictureClick(pictures->ChosenPane()); });
  for (int pane : {1, 2}) {
    TitleBar* bar = (pane == 2 ? w.PaneB() : w.PaneA())->Bar();
    QObject::connect(bar, &TitleBar::pictureClicked, pictures, [pictures, pane] { pictures->SavePictureClick(pane); });
    QObject::connect(bar, &TitleBar::copyPictureClicked, pictures, [pictures, pane] { pictures->CopyPictureClick(pane); });
  }
}

}  // namespace velmora
