// The request logic on a scripted framework: the cases real media cannot
// produce on demand.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <thread>

#include "tests/player/FakeFramework.h"
#include "tests/player/PlayerTestSupport.h"

namespace {

struct TFakePlayer {
  explicit TFakePlayer(TFakeScript AScript = {}) : Framework(std::make_shared<TFakeFramework>()) {
    Framework->Script = std::move(AScript);
    Player = std::make_unique<TRecordingPlayer>(Framework);
  }
  bool Open() { return Player->OpenAndWait("any.mp4", 3000) && Settle(); }
  // Lets every event the session has queued reach the player.
  bool Settle() { return Framework->Session->Drain() && WaitUntil([&] { return (*Player)->CanMfPosThread.load(); }, 3000); }
  TFakeSession& Session() { return *Framework->Session; }
  TMfPlayer& operator*() { return **Player; }
  TMfPlayer* operator->() { return Player->get(); }

  std::shared_ptr<TFakeFramework> Framework;
  std::unique_ptr<TRecordingPlayer> Player;
};

TFakeScript Quiet() {  // no events after commands: the request logic alone
  TFakeScript script;
  script.isEventPerCommand = false;
  return script;
}

}  // namespace

TEST(PlayerRequests, FrameworkThatCannotStartAbortsSilently) {
  auto framework = std::make_shared<TFakeFramework>();
  framework->StartupResult = E_FAIL;
  EXPECT_THROW(TMfPlayer(framework, nullptr, nullptr, nullptr), ESilentAbort);
}

TEST(PlayerRequests, StartSequenceShowsAFramePausesAndDeliversTheDuration) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  EXPECT_EQ(p.Player->LastDuration, 100000000u);
  EXPECT_EQ(p.Player->LastFrame.pixel(0, 0), 0xff336699);
  EXPECT_EQ(p->State(), TPlayerState::Paused);
  EXPECT_TRUE(p->IsPending());
  const auto calls = p.Session().Calls();
  const auto at = [&](const std::string& c) { return std::find(calls.begin(), calls.end(), c) - calls.begin(); };
  EXPECT_LT(at("SetTopology"), at("Start"));
  EXPECT_LT(at("Start"), at("Pause"));
}

TEST(PlayerRequests, PauseAndStopWhilePendingWaitOrDispatch) {
  TFakePlayer p(Quiet());
  ASSERT_TRUE(p.Open());
  ASSERT_TRUE(p->IsPending());
  const int pauses = p.Session().Count("Pause");

  // Pause leaves its request waiting.
  EXPECT_EQ(p->Pause(), E_FAIL);
  EXPECT_EQ(p->State(), TPlayerState::Pausing);
  EXPECT_EQ(p->mfpControl.Request, TRequest::reqPause);
  EXPECT_EQ(p.Session().Count("Pause"), pauses);

  // Stop dispatches the waiting pause but does not stop the session.
  EXPECT_EQ(p->Stop(), S_OK);
  EXPECT_EQ(p.Session().Count("Pause"), pauses + 1);
  EXPECT_EQ(p.Session().Count("Stop"), 0);
  EXPECT_EQ(p->State(), TPlayerState::Stopping);
  EXPECT_EQ(p->mfpControl.Request, TRequest::reqStop);

  // A waiting seek answers its own target as the position.
  p.Session().Position = 1234;
  EXPECT_EQ(p->SetPosition(Hns(4)), S_OK);
  EXPECT_EQ(p->mfpControl.Request, TRequest::reqSeek);
  uint64_t pos = 0;
  EXPECT_EQ(p->GetPosition(pos), S_OK);
  EXPECT_EQ(pos, Hns(4));
  EXPECT_EQ(p.Session().Count("Start@" + std::to_string(Hns(4))), 0);
}

TEST(PlayerRequests, EndOfPresentationRestartsTheClockWithoutASessionCall) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  const int starts = p.Session().Count("Start");
  p.Session().Position = Hns(10);
  p.Session().Push({MEEndOfPresentation, S_OK, {}, {}});
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p->State(), TPlayerState::Started);
  EXPECT_TRUE(p->IsPresentationEnded());
  EXPECT_EQ(p.Session().Count("Start"), starts);
  const size_t seen = p.Player->Reports.size();
  ASSERT_TRUE(WaitUntil([&] { return p.Player->Reports.size() > seen; }, 1000));
  EXPECT_FALSE(p.Player->Reports.back().isPlaying);

  // Play from the end starts over, and the player keeps playing.
  p->StartPause();
  ASSERT_TRUE(p.Settle());
  EXPECT_GE(p.Session().Count("Start@0"), 1);
  EXPECT_FALSE(p->IsPresentationEnded());
  EXPECT_EQ(p->State(), TPlayerState::Started);
}

TEST(PlayerRequests, ResumeSeeksToThePositionShownAndKeepsPlaying) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  p.Session().Position = Hns(3);
  const size_t seen = p.Player->Reports.size();
  ASSERT_TRUE(WaitUntil([&] { return p.Player->Reports.size() > seen; }, 1000));
  const int pauses = p.Session().Count("Pause");
  p->StartPause();
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p->State(), TPlayerState::Started);
  EXPECT_EQ(p.Session().Count("Pause"), pauses);  // the worker did not pause again
  EXPECT_GE(p.Session().Count("Start@" + std::to_string(Hns(3))), 1);
  EXPECT_EQ(p.Session().Count("Start@0"), 0);  // no detour to an old target
  p->StartPause();
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p->State(), TPlayerState::Paused);
}

TEST(PlayerRequests, FailedSeekGivesUpAndTheNextRequestIsCarriedOut) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  p.Session().SeekResult = E_FAIL;
  QElapsedTimer clock;
  clock.start();
  p->SetNewPosition(Hns(3));
  ASSERT_TRUE(WaitUntil([&] { return p->CanMfPosThread.load(); }, 6000));
  EXPECT_LT(clock.elapsed(), 1000);  // a failed seek is known at once
  EXPECT_EQ(p->State(), TPlayerState::Paused);
  EXPECT_TRUE(p->IsPending());

  p.Session().SeekResult = S_OK;
  const int frames = p.Player->FrameCount;
  p->SetNewPosition(Hns(4));
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p.Session().Count("Start@" + std::to_string(Hns(4))), 1);
  EXPECT_GT(p.Player->FrameCount, frames);
  EXPECT_EQ(p->State(), TPlayerState::Paused);
}

TEST(PlayerRequests, SeekInAStateThatCannotSeekDoesNothingAndFreesSeeking) {
  TFakePlayer p(Quiet());
  ASSERT_TRUE(p.Open());
  p->SendPlayerRequest(TRequest::reqStop);
  ASSERT_EQ(p->State(), TPlayerState::Stopped);
  p->SetNewPosition(Hns(2));
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p.Session().Count("Start@" + std::to_string(Hns(2))), 0);
  EXPECT_EQ(p->State(), TPlayerState::Stopped);
}

TEST(PlayerRequests, PausedEventOnAPausedPlayerIsNotAnsweredWithAnotherPause) {
  TFakePlayer p;  // this session answers every pause with a paused event
  ASSERT_TRUE(p.Open());
  const int pauses = p.Session().Count("Pause");
  EXPECT_LE(pauses, 2);
  Pump(200);
  EXPECT_EQ(p.Session().Count("Pause"), pauses);
  p.Session().Push({MESessionPaused, S_OK, {}, {}});
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p.Session().Count("Pause"), pauses);
  EXPECT_EQ(p->State(), TPlayerState::Paused);
}

TEST(PlayerRequests, EventsWithAFailedStatusAreIgnoredAndEventsGoOn) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  p->StartPause();
  ASSERT_TRUE(p.Settle());
  ASSERT_EQ(p->State(), TPlayerState::Started);
  p.Session().Push({MESessionPaused, E_FAIL, {}, {}});
  p.Session().Push({MESessionCapabilitiesChanged, S_OK, 42u, {}});
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p->State(), TPlayerState::Started);
  EXPECT_EQ(p->mfpControl.dwSessionCaps, 42u);
  EXPECT_EQ(p->HandleEvent(nullptr), E_POINTER);
}

TEST(PlayerRequests, NewPresentationSetsAFreshTopology) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  const int topologies = p.Session().Topologies();
  p.Session().Push({MENewPresentation, S_OK, {}, {}});  // carries no descriptor: ignored
  ASSERT_TRUE(p.Settle());
  EXPECT_EQ(p.Session().Topologies(), topologies);
  EXPECT_EQ(p->State(), TPlayerState::Paused);

  auto pd = std::make_shared<TPresentationDescriptor>();
  pd->Duration = Hns(20);
  pd->Streams = {{TMajorType::Video, true}};
  TMediaEvent event{MENewPresentation, S_OK, {}, pd};
  EXPECT_EQ(p->HandleEvent(&event), S_OK);
  EXPECT_EQ(p.Session().Topologies(), topologies + 1);
  EXPECT_EQ(p->State(), TPlayerState::OpenPending);
}

TEST(PlayerRequests, CloseThatIsNeverConfirmedEndsAfterTheWait) {
  TFakeScript script;
  script.isCloseConfirmed = false;
  TFakePlayer p(script);
  ASSERT_TRUE(p.Open());
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(p->MediaShutDown());
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(p->State(), TPlayerState::Closed);
  EXPECT_EQ(p.Session().Count("Shutdown"), 1);
}

TEST(PlayerRequests, EventsWhileClosingAreNotHandledButStillRequested) {
  TFakeScript script;
  script.isCloseConfirmed = false;
  TFakePlayer p(script);
  ASSERT_TRUE(p.Open());
  auto& session = p.Session();
  std::thread framework([&session] {
    while (session.Count("Close") == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    session.Push({MEEndOfPresentation, S_OK, {}, {}});
    session.Push({MESessionCapabilitiesChanged, S_OK, 99u, {}});
    session.Drain();
    session.Push({MESessionClosed, S_OK, {}, {}});
  });
  QElapsedTimer clock;
  clock.start();
  const int requests = session.Count("BeginGetEvent");
  EXPECT_TRUE(p->MediaShutDown());
  framework.join();
  EXPECT_LT(clock.elapsed(), 1500);  // the closed event ended the wait
  EXPECT_FALSE(p->IsPresentationEnded());
  EXPECT_NE(p->mfpControl.dwSessionCaps, 99u);
  EXPECT_EQ(session.Count("BeginGetEvent"), requests + 2);  // none after the closed event
}

TEST(PlayerRequests, FailingCloseStillStopsTheSessionsCallbacks) {
  TFakeScript script;
  script.CloseResult = E_FAIL;
  TFakePlayer p(script);
  ASSERT_TRUE(p.Open());
  EXPECT_TRUE(p->MediaShutDown());
  EXPECT_EQ(p.Session().Count("Shutdown"), 1);
}

TEST(PlayerRequests, MediumWithNeitherVideoNorAudioDoesNotOpen) {
  TFakeScript script;
  script.Streams = {{TMajorType::Other, true}};
  TFakePlayer p(script);
  EXPECT_EQ(p->OpenURL("hints.mp4"), MF_E_NOT_AUDIO_OR_VIDEO);
  EXPECT_EQ(p->State(), TPlayerState::Closed);
  EXPECT_FALSE(p->HasTimers());
  EXPECT_TRUE(p->MediaShutDown());
}

TEST(PlayerRequests, UnselectedExtraStreamsDoNotStopTheOpen) {
  TFakeScript script;
  script.Streams = {{TMajorType::Video, true}, {TMajorType::Audio, true}, {TMajorType::Other, false}};
  TFakePlayer p(script);
  ASSERT_TRUE(p.Open());
  EXPECT_TRUE(p->HasVideo());
}

TEST(PlayerRequests, FailedOpenResetsTheControllerButKeepsThePosition) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  p->SetVolume(0.3f);
  p.Session().Position = Hns(3);
  const size_t seen = p.Player->Reports.size();
  ASSERT_TRUE(WaitUntil([&] { return p.Player->Reports.size() > seen; }, 1000));
  p.Framework->Script.ResolveResult = E_FILE_NOT_FOUND;
  EXPECT_EQ(p->OpenURL("gone.mp4"), E_FILE_NOT_FOUND);
  EXPECT_EQ(p->State(), TPlayerState::Closed);
  EXPECT_EQ(p->mfpControl.Request, TRequest::reqNone);
  EXPECT_EQ(p->Volume(), 1.0f);
  EXPECT_EQ(p->Duration(), 0u);
  EXPECT_EQ(p->Position(), Hns(3));
  EXPECT_FALSE(p->HasTimers());
}

TEST(PlayerRequests, VolumeReadsTheLoudestChannelAndSetsThemAll) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  p.Session().SetChannels({0.2f, 0.7f, 0.5f});
  EXPECT_FLOAT_EQ(p->GetVolume(), 0.7f);
  p->SetVolume(1.5f);
  EXPECT_EQ(p.Session().Channels(), (std::vector<float>{1.0f, 1.0f, 1.0f}));
  p->SetVolume(-0.2f);
  EXPECT_EQ(p.Session().Channels(), (std::vector<float>{0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(p->Volume(), 0.0f);
}

TEST(PlayerRequests, StatusTimerIntervalAndTimeLeft) {
  TFakePlayer p;
  ASSERT_TRUE(p.Open());
  for (auto [set, expected] : {std::pair{0u, 1u}, {2000000000u, 1u}, {250u, 250u}, {100u, 100u}}) {
    p->SetStatusTimerInterval(set);
    EXPECT_EQ(p->StatusTimerInterval(), expected);
  }
  // Past the end, the time left wraps around as an unsigned number.
  p.Session().Position = Hns(12);
  const size_t seen = p.Player->Reports.size();
  ASSERT_TRUE(WaitUntil([&] { return p.Player->Reports.size() > seen; }, 1000));
  EXPECT_EQ(p->mfpControl.uiResumingPlayTime, Hns(10) - Hns(12));
}
