package app;

import java.util.concurrent.CountDownLatch;

// A service's application: main leaves a non-daemon thread that serves until stop is called,
// on a thread of the launcher's, with the stop arguments.
public class Server {
    private static final CountDownLatch stopped = new CountDownLatch(1);

    public static void main(String[] args) {
        Record.call("main", Server.class, args);
        Runtime.getRuntime().addShutdownHook(new Thread(() -> Record.line("hook")));
        new Thread(() -> {
            try {
                stopped.await();
            } catch (InterruptedException e) {
                // ended
            }
        }).start();
    }

    public static void stop(String[] args) {
        Record.call("stop", Server.class, args);
        stopped.countDown();
    }
}
