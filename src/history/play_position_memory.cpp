#include "history/play_position_memory.h"

LeaveAction ActionOnLeaving(int lengthSeconds, int positionSeconds) {
  if (lengthSeconds < kShortestRememberedLength) return LeaveAction::Keep;
  if (positionSeconds >= lengthSeconds - kEndMargin || ResumeSecondsFor(positionSeconds) == 0)
    return LeaveAction::Forget;
  return LeaveAction::Remember;
}

int ResumeSecondsFor(int storedSeconds) { return storedSeconds > kResumeRewind ? storedSeconds - kResumeRewind : 0; }

PlayPositionMemory::PlayPositionMemory(const std::string& storePath, Identify identify)
    : store_(storePath), identify_(std::move(identify)) {}

void PlayPositionMemory::Load() { store_.Load(); }

int PlayPositionMemory::Opening(const std::string& path, bool resumable) {
  Left();
  medium_.reset();
  if (!resumable || path.empty() || path.front() != '/') return 0;
  const std::optional<platform::FileIdentity> identity = identify_(path);
  if (!identity) return 0;
  medium_ = Medium{path, *identity};
  if (!enabled_) return 0;
  const std::optional<int> stored = store_.Find(path, *identity);
  return stored ? ResumeSecondsFor(*stored) : 0;
}

void PlayPositionMemory::PlayingAgain() {
  if (!medium_ || !medium_->left) return;
  medium_->left = false;
  medium_->moved = false;
}

void PlayPositionMemory::LengthKnown(int seconds, int resumeSeconds) {
  if (!medium_ || medium_->left) return;
  medium_->length = seconds;
  // Not a move: leaving before playback reports one keeps what is stored.
  medium_->position = resumeSeconds;
}

void PlayPositionMemory::PositionMoved(int seconds) {
  if (!medium_ || medium_->left) return;
  medium_->position = seconds;
  medium_->moved = true;
}

void PlayPositionMemory::Left() {
  if (!medium_ || medium_->left) return;
  medium_->left = true;
  if (!enabled_ || !medium_->moved) return;
  switch (ActionOnLeaving(medium_->length, medium_->position)) {
    case LeaveAction::Remember: store_.Remember({medium_->path, medium_->identity, medium_->position}); break;
    case LeaveAction::Forget: store_.Forget(medium_->path); break;
    case LeaveAction::Keep: break;
  }
}
