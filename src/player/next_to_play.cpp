#include "player/next_to_play.h"

NextToPlayAction NextToPlay(const NextToPlayInputs& in) {
  // Once closing has begun nothing new plays.
  if (in.stopRequested || in.closing) return {NextSource::StopHere, {}};
  // The user's own choice waits behind the files of a disc.
  if (in.discQueued) return {NextSource::DiscQueue, {}};
  if (in.pathPending) return {NextSource::PendingPath, {}};
  const bool asked = in.nextRequested || in.previousRequested;
  if (!asked && in.modes.repeatCurrent) return {NextSource::CurrentFile, {}};
  if ((asked || in.modes.autoPlayFromList) && in.hasPlayList) {
    // An explicit Next or Previous walks the list in order and wraps.
    PlayListWalk walk;
    walk.playFromList = in.modes.playFromList;
    walk.random = asked ? false : in.modes.random;
    walk.repeatCurrent = asked ? false : in.modes.repeatCurrent;
    walk.loop = asked ? true : in.modes.loop;
    walk.forward = in.nextRequested ? true : in.previousRequested ? false : in.modes.forward;
    return {NextSource::PlayList, walk};
  }
  return {NextSource::Nothing, {}};
}
